#pragma once
// The 1 W variants of the Topcon line.

#include "devices/VkcDeviceTopcon.h"

class VkcDeviceTopcon1W : public VkcDeviceTopcon {
 public:
};
