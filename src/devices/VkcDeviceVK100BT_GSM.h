#pragma once
// VK100BT_GSM: the VHF member of its line.

#include "devices/VkcDeviceVK400BT_GSM.h"
#include "devices/VkcModelRules.h"

class VkcDeviceVK100BT_GSM : public VkcDeviceVK400BT_GSM {
 public:
  static constexpr int kKey = 70;
  VkcDeviceVK100BT_GSM() { ApplyModelConstants(kKey); }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kVhfBand, which);
  }
};
