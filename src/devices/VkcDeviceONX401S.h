#pragma once
// ONX401S.

#include "devices/VkcDeviceONX401.h"

class VkcDeviceONX401S : public VkcDeviceONX401 {
 public:
  static constexpr int kKey = 931;
  VkcDeviceONX401S() { ApplyModelConstants(kKey); }
};
