#pragma once
// Pseudo-device of a unit that answers from its start-up code.

#include "devices/VkcDevice.h"

class VkcDeviceStartup : public VkcDevice {
 public:
  static constexpr int kKey = -1;
  VkcDeviceStartup() { ApplyModelConstants(kKey); }
  int GetMaintenancePortRate(VkcComPort*, platform::Event*) const override { return 8; }
};
