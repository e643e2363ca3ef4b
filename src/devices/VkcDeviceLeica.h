#pragma once
// Mix-in for models attached to Leica equipment: the maintenance connection uses the data port,
// so its rate is the data port's ("DPORT RATE"), where a rate index 8 is written as 0.

#include "devices/VkcDevice.h"

class VkcDeviceLeica : public virtual VkcDevice {
 public:
  bool SetMaintenancePortRate(int rateIndex, VkcComPort* conn, platform::Event* stop) const override;
  int GetMaintenancePortRate(VkcComPort* conn, platform::Event* stop) const override;
  int GetStoredPortRateIndex(VkcConfiguration& tree, int row) const override;
};
