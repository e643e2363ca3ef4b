#pragma once
// VK401Tc (Topcon line, 1 W).

#include "devices/VkcDeviceTopcon1W.h"

class VkcDeviceVK401Tc : public VkcDeviceTopcon1W {
 public:
  static constexpr int kKey = 18;
  VkcDeviceVK401Tc() { ApplyModelConstants(kKey); }
};
