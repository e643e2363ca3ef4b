#pragma once
// VK100BT.

#include "devices/VkcDeviceVK400BT.h"

class VkcDeviceVK100BT : public VkcDeviceVK400BT {
 public:
  static constexpr int kKey = 57;
  VkcDeviceVK100BT() { ApplyModelConstants(kKey); }
};
