#pragma once
// VK100 transceiver.

#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceVK100 : public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 12;
  VkcDeviceVK100() { ApplyModelConstants(kKey); }
};
