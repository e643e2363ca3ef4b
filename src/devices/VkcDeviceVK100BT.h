#pragma once
// VK100BT: the VHF member of its line.

#include "devices/VkcDeviceVK400BT.h"
#include "devices/VkcModelRules.h"

class VkcDeviceVK100BT : public VkcDeviceVK400BT {
 public:
  static constexpr int kKey = 57;
  VkcDeviceVK100BT() { ApplyModelConstants(kKey); }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kVhfBand, which);
  }
};
