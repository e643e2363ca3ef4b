#pragma once
// MIV20-1: a UHF transceiver attached to Leica equipment.

#include "devices/VkcDeviceLeica.h"
#include "devices/VkcDeviceTransceiver.h"
#include "devices/VkcModelRules.h"

class VkcDeviceMIV20_1 : public VkcDeviceLeica, public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 1;
  VkcDeviceMIV20_1() { ApplyModelConstants(kKey); }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kUhfBand, which);
  }
};
