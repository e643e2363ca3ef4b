#pragma once
// Transceivers built for Topcon receivers (channel numbers on a raster).

#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceTopcon : public VkcDeviceTransceiver {
 public:
};
