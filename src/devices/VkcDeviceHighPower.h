#pragma once
// Transceivers with a power amplifier: the amplifier section of the user image has defaults.

#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceHighPower : public VkcDeviceTransceiver {
 public:
  void ApplyHighPowerDefaults() const override;
};
