#pragma once
// Pseudo-device of a unit that answers from its boot loader.

#include "devices/VkcDevice.h"

class VkcDeviceBootLoader : public VkcDevice {
 public:
  static constexpr int kKey = -2;
  VkcDeviceBootLoader() { ApplyModelConstants(kKey); }
  int GetMaintenancePortRate(VkcComPort*, platform::Event*) const override { return 6; }
  int GetStoredPortRateIndex(VkcConfiguration&, int) const override { return 6; }
};
