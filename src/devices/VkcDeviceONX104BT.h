#pragma once
// ONX104BT.

#include "devices/VkcDeviceVK100BT.h"

class VkcDeviceONX104BT : public VkcDeviceVK100BT {
 public:
  static constexpr int kKey = 50;
  VkcDeviceONX104BT() { ApplyModelConstants(kKey); }
};
