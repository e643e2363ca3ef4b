#pragma once
// VK401Tc (Topcon line, 1 W).

#include "devices/VkcDeviceTopcon1W.h"
#include "devices/VkcModelRules.h"

class VkcDeviceVK401Tc : public VkcDeviceTopcon1W {
 public:
  static constexpr int kKey = 18;
  VkcDeviceVK401Tc() { ApplyModelConstants(kKey); }
  bool HasAlarmOutputs() const override { return false; }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kUhf410Band, which);
  }
  bool IsNewFirmware(const VkcUnitImages& system) const override;
};
