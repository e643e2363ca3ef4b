#pragma once
// VK415: UHF high-power transceiver.

#include "devices/VkcDeviceHighPower.h"
#include "devices/VkcModelRules.h"

class VkcDeviceVK415 : public VkcDeviceHighPower {
 public:
  static constexpr int kKey = 27;
  VkcDeviceVK415() { ApplyModelConstants(kKey); }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kUhfBand, which);
  }
};
