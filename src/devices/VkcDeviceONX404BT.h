#pragma once
// ONX404BT.

#include "devices/VkcDeviceVK400BT.h"

class VkcDeviceONX404BT : public VkcDeviceVK400BT {
 public:
  static constexpr int kKey = 46;
  VkcDeviceONX404BT() { ApplyModelConstants(kKey); }
};
