#pragma once
// VK135 high-power transceiver.

#include "devices/VkcDeviceHighPower.h"

class VkcDeviceVK135 : public VkcDeviceHighPower {
 public:
  static constexpr int kKey = 16;
  VkcDeviceVK135() { ApplyModelConstants(kKey); }
};
