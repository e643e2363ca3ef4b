#pragma once
// ONX401 (514 variant).

#include "devices/VkcDeviceONX401.h"

class VkcDeviceONX401_514 : public VkcDeviceONX401 {
 public:
  static constexpr int kKey = 741;
  VkcDeviceONX401_514() { ApplyModelConstants(kKey); }
};
