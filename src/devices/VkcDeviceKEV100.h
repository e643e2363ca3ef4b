#pragma once
// VK100Tx of the VK400Qr line.

#include "devices/VkcDeviceVK400Qr.h"

class VkcDeviceKEV100 : public VkcDeviceVK400Qr {
 public:
  static constexpr int kKey = 33;
  VkcDeviceKEV100() { ApplyModelConstants(kKey); }
};
