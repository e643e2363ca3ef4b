#pragma once
// Beacon (OEM): a beacon receiver without the antenna connector choice or the mode switch.

#include "devices/VkcDeviceBeacon.h"

class VkcDeviceBeaconOEM : public VkcDeviceBeacon {
 public:
  static constexpr int kKey = 69;
  VkcDeviceBeaconOEM() { ApplyModelConstants(kKey); }
  bool HasFeature(VkcUnitImages& system, int featureId) const override {
    if (featureId == 16) return false;
    return VkcDeviceBeacon::HasFeature(system, featureId);
  }
  bool CanSwitchReceiverMode() const override { return false; }
};
