#pragma once
// ONX402.

#include "devices/VkcDeviceVK400.h"

class VkcDeviceONX402 : public VkcDeviceVK400 {
 public:
  static constexpr int kKey = 31;
  VkcDeviceONX402() { ApplyModelConstants(kKey); }
};
