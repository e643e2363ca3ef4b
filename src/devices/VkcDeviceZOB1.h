#pragma once
// ZOB1: a UHF transceiver attached to Leica equipment.

#include "devices/VkcDeviceLeica.h"
#include "devices/VkcDeviceTransceiver.h"
#include "devices/VkcModelRules.h"

class VkcDeviceZOB1 : public VkcDeviceLeica, public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 25;
  VkcDeviceZOB1() { ApplyModelConstants(kKey); }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kUhfBand, which);
  }
};
