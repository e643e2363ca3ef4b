#pragma once
// Beacon receiver; reports the L-band model id and name.

#include "devices/VkcDeviceLband.h"

class VkcDeviceBeacon : public VkcDeviceLband {
 public:
  static constexpr int kKey = 3601;
  VkcDeviceBeacon() { ApplyModelConstants(kKey); }
};
