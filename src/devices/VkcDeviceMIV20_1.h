#pragma once
// MIV20-1: a Leica-attached transceiver.

#include "devices/VkcDeviceLeica.h"
#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceMIV20_1 : public VkcDeviceLeica, public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 1;
  VkcDeviceMIV20_1() { ApplyModelConstants(kKey); }
};
