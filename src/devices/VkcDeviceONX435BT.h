#pragma once
// ONX435BT.

#include "devices/VkcDeviceVK435BT.h"

class VkcDeviceONX435BT : public VkcDeviceVK435BT {
 public:
  static constexpr int kKey = 35;
  VkcDeviceONX435BT() { ApplyModelConstants(kKey); }
};
