#pragma once
// VK435 high-power transceiver.

#include "devices/VkcDeviceHighPower.h"

class VkcDeviceVK435 : public VkcDeviceHighPower {
 public:
  static constexpr int kKey = 3;
  VkcDeviceVK435() { ApplyModelConstants(kKey); }
};
