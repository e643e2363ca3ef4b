#pragma once
// VK400Tx transceiver line.

#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceVK400Tx : public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 6;
  VkcDeviceVK400Tx() { ApplyModelConstants(kKey); }
};
