#pragma once
// The 1 W Topcon models: the reset to receive mode first switches the RF stage off.

#include "devices/VkcDeviceTopcon.h"

class VkcDeviceTopcon1W : public VkcDeviceTopcon {
 public:
  bool ResetToReceiveMode(VkcComPort* conn) const override;
  // Whether the unit runs the newer firmware of its model.
  virtual bool IsNewFirmware(const VkcUnitImages& system) const = 0;
};
