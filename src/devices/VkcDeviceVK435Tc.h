#pragma once
// VK435Tc (Topcon line).

#include "devices/VkcDeviceTopcon.h"

class VkcDeviceVK435Tc : public VkcDeviceTopcon {
 public:
  static constexpr int kKey = 23;
  VkcDeviceVK435Tc() { ApplyModelConstants(kKey); }
};
