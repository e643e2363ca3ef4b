#pragma once
// UHF Golden Unit: a reference transceiver whose channels lie on a 6250 Hz raster.

#include "devices/VkcDeviceGolden.h"
#include "devices/VkcDeviceTransceiver.h"
#include "devices/VkcModelRules.h"

class VkcDeviceUHFGolden : public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 1001;
  VkcDeviceUHFGolden() { ApplyModelConstants(kKey); }
  uint32_t GetChannelFrequency(int channel, VkcUnitImages& system) const override {
    return golden::ChannelFrequency(channel, system);
  }
  int GetChannelNumber(uint32_t hz, VkcUnitImages& system) const override { return golden::ChannelNumber(hz, system); }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kUhfBand, which);
  }
};
