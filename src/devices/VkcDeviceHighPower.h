#pragma once
// Transceivers with an external power amplifier.

#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceHighPower : public VkcDeviceTransceiver {
 public:
};
