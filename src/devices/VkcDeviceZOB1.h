#pragma once
// ZOB1: a Leica-attached transceiver.

#include "devices/VkcDeviceLeica.h"
#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceZOB1 : public VkcDeviceLeica, public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 25;
  VkcDeviceZOB1() { ApplyModelConstants(kKey); }
};
