#pragma once
// ONX401.

#include "devices/VkcDeviceVK400Qr.h"

class VkcDeviceONX401 : public VkcDeviceVK400Qr {
 public:
  static constexpr int kKey = 74;
  VkcDeviceONX401() { ApplyModelConstants(kKey); }
};
