#pragma once
// VK100: VHF transceiver; four spacings, the index in the user image.

#include "devices/VkcDeviceTransceiver.h"
#include "devices/VkcModelRules.h"

class VkcDeviceVK100 : public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 12;
  VkcDeviceVK100() { ApplyModelConstants(kKey); }

  void GetProtocolList(bool transmitter, std::vector<int>& out) const override;
  int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const override;
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  float GetChannelSpacingSteps(int index) const override { return FourSpacingSteps(index); }
  void GetChannelSpacingList(std::vector<int>& out) const override { out.assign({6250, 12500, 25000, 20000}); }
  int ChannelSpacingToIndex(int hz) const override { return FourSpacingToIndex(hz, false); }
  int ChannelSpacingFromIndex(int index) const override { return FourSpacingFromIndex(index, false); }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kVhfBand, which);
  }
};
