#pragma once
// VK400 transceiver.

#include "devices/VkcDeviceHighPower.h"

class VkcDeviceVK400 : public VkcDeviceHighPower {
 public:
  static constexpr int kKey = 4;
  VkcDeviceVK400() { ApplyModelConstants(kKey); }
};
