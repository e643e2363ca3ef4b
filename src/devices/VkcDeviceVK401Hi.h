#pragma once
// VK401Hi (Topcon line, 1 W).

#include "devices/VkcDeviceTopcon1W.h"

class VkcDeviceVK401Hi : public VkcDeviceTopcon1W {
 public:
  static constexpr int kKey = 24;
  VkcDeviceVK401Hi() { ApplyModelConstants(kKey); }
};
