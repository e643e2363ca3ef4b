#pragma once
// Mix-in for models attached to Leica equipment: the maintenance connection uses the data port.

#include "devices/VkcDevice.h"

class VkcDeviceLeica : public virtual VkcDevice {
 public:
};
