#pragma once
// VK400Tc (Topcon line).

#include "devices/VkcDeviceTopcon.h"
#include "devices/VkcModelRules.h"

class VkcDeviceVK400Tc : public VkcDeviceTopcon {
 public:
  static constexpr int kKey = 22;
  VkcDeviceVK400Tc() { ApplyModelConstants(kKey); }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kUhf410Band, which);
  }
};
