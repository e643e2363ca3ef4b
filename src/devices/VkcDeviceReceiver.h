#pragma once
// Receive-only models.

#include "devices/VkcDevice.h"

class VkcDeviceReceiver : public VkcDevice {
 public:
};
