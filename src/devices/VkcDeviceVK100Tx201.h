#pragma once
// VK100Tx of the VK100 line.

#include "devices/VkcDeviceVK100.h"

class VkcDeviceVK100Tx201 : public VkcDeviceVK100 {
 public:
  static constexpr int kKey = 201;
  VkcDeviceVK100Tx201() { ApplyModelConstants(kKey); }
};
