#pragma once
// OEM beacon receiver.

#include "devices/VkcDeviceBeacon.h"

class VkcDeviceBeaconOEM : public VkcDeviceBeacon {
 public:
  static constexpr int kKey = 69;
  VkcDeviceBeaconOEM() { ApplyModelConstants(kKey); }
  bool CanSwitchReceiverMode() const override { return false; }
};
