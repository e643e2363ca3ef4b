#pragma once
// VK400TxEXT, extended band.

#include "devices/VkcDeviceVK400Qr.h"
#include "devices/VkcModelRules.h"

class VkcDeviceKEV400EXT : public VkcDeviceVK400Qr {
 public:
  static constexpr int kKey = 39;
  VkcDeviceKEV400EXT() { ApplyModelConstants(kKey); }
  uint32_t GetBandFrequency(int which) const override {
    static constexpr modelrules::Band kBand = {360000000, 415000000, 470000000};
    return modelrules::BandFrequency(kBand, which);
  }
};
