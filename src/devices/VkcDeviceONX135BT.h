#pragma once
// ONX135BT.

#include "devices/VkcDeviceVK135BT.h"

class VkcDeviceONX135BT : public VkcDeviceVK135BT {
 public:
  static constexpr int kKey = 38;
  VkcDeviceONX135BT() { ApplyModelConstants(kKey); }
};
