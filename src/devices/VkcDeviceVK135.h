#pragma once
// VK135: VHF high-power transceiver with its own protocol list.

#include "devices/VkcDeviceHighPower.h"
#include "devices/VkcModelRules.h"

class VkcDeviceVK135 : public VkcDeviceHighPower {
 public:
  static constexpr int kKey = 16;
  VkcDeviceVK135() { ApplyModelConstants(kKey); }

  void GetProtocolList(bool transmitter, std::vector<int>& out) const override;
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kVhfBand, which);
  }
};
