#pragma once
// VK400Qr.

#include "devices/VkcDeviceVK400Tx.h"

class VkcDeviceVK400Qr : public VkcDeviceVK400Tx {
 public:
  static constexpr int kKey = 28;
  VkcDeviceVK400Qr() { ApplyModelConstants(kKey); }
};
