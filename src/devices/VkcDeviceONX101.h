#pragma once
// ONX101.

#include "devices/VkcDeviceVK100Tx201.h"

class VkcDeviceONX101 : public VkcDeviceVK100Tx201 {
 public:
  static constexpr int kKey = 64;
  VkcDeviceONX101() { ApplyModelConstants(kKey); }
};
