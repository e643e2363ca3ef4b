#pragma once
// VK404AF.

#include "devices/VkcDeviceVK400BT.h"

class VkcDeviceVK404AF : public VkcDeviceVK400BT {
 public:
  static constexpr int kKey = 100;
  VkcDeviceVK404AF() { ApplyModelConstants(kKey); }
};
