#pragma once
// VK100Tx of the VK400Qr line, VHF.

#include "devices/VkcDeviceVK400Qr.h"
#include "devices/VkcModelRules.h"

class VkcDeviceKEV100 : public VkcDeviceVK400Qr {
 public:
  static constexpr int kKey = 33;
  VkcDeviceKEV100() { ApplyModelConstants(kKey); }
  uint32_t GetBandFrequency(int which) const override {
    static constexpr modelrules::Band kBand = {138000000, 150000000, 174000000};
    return modelrules::BandFrequency(kBand, which);
  }
};
