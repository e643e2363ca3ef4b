#pragma once
// VK400Tc (Topcon line).

#include "devices/VkcDeviceTopcon.h"

class VkcDeviceVK400Tc : public VkcDeviceTopcon {
 public:
  static constexpr int kKey = 22;
  VkcDeviceVK400Tc() { ApplyModelConstants(kKey); }
};
