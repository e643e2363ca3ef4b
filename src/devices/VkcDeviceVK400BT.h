#pragma once
// VK400BT: a VK400 with a Bluetooth module; four spacings, the index always in the user image.

#include "devices/VkcDeviceVK400.h"

class VkcDeviceVK400BT : public VkcDeviceVK400 {
 public:
  static constexpr int kKey = 48;
  VkcDeviceVK400BT() { ApplyModelConstants(kKey); }

  bool HasFeature(VkcUnitImages& system, int featureId) const override;
  bool IsBluetoothModel() const override { return true; }
  int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const override;
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  float GetChannelSpacingSteps(int index) const override { return FourSpacingSteps(index); }
  void GetChannelSpacingList(std::vector<int>& out) const override {
    out.assign({6250, 12500, 20000, 25000});
  }
  int ChannelSpacingToIndex(int hz) const override { return FourSpacingToIndex(hz, false); }
  int ChannelSpacingFromIndex(int index) const override { return FourSpacingFromIndex(index, false); }
  int GetOutputPower(int channelIndex) const override { return VkcDeviceTransceiver::GetOutputPower(channelIndex); }
  void SetOutputPower(int dbm, int channelIndex) const override {
    VkcDeviceTransceiver::SetOutputPower(dbm, channelIndex);
  }
  uint32_t GetBandFrequency(int which) const override;
};
