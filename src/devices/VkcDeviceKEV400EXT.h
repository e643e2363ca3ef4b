#pragma once
// VK400TxEXT.

#include "devices/VkcDeviceVK400Qr.h"

class VkcDeviceKEV400EXT : public VkcDeviceVK400Qr {
 public:
  static constexpr int kKey = 39;
  VkcDeviceKEV400EXT() { ApplyModelConstants(kKey); }
};
