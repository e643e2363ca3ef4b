#pragma once
// VK400Tx of the ONX401 line.

#include "devices/VkcDeviceONX401.h"

class VkcDeviceVK401Tx : public VkcDeviceONX401 {
 public:
  static constexpr int kKey = 83;
  VkcDeviceVK401Tx() { ApplyModelConstants(kKey); }
};
