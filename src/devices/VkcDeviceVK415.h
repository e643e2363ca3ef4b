#pragma once
// VK415 high-power transceiver.

#include "devices/VkcDeviceHighPower.h"

class VkcDeviceVK415 : public VkcDeviceHighPower {
 public:
  static constexpr int kKey = 27;
  VkcDeviceVK415() { ApplyModelConstants(kKey); }
};
