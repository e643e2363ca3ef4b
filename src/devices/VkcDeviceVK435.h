#pragma once
// VK435: the full protocol list; a fourth spacing (20000 Hz) except on the 2.x firmware; the index
// where the base keeps it, from 1.6.11 on, with 25000 and 6250 Hz swapped in the dealer image.

#include "devices/VkcDeviceHighPower.h"

class VkcDeviceVK435 : public VkcDeviceHighPower {
 public:
  static constexpr int kKey = 3;
  VkcDeviceVK435() { ApplyModelConstants(kKey); }

  void GetProtocolList(bool transmitter, std::vector<int>& out) const override {
    AppendFullProtocolList(transmitter, GetFirmwareFamily(), out);
  }
  int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const override;
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  float GetChannelSpacingSteps(int index) const override { return FourSpacingSteps(index); }
  void GetChannelSpacingList(std::vector<int>& out) const override;
  int ChannelSpacingToIndex(int hz) const override { return FourSpacingToIndex(hz, IsReversedSpacingOrder()); }
  int ChannelSpacingFromIndex(int index) const override {
    return FourSpacingFromIndex(index, IsReversedSpacingOrder());
  }
  uint32_t GetBandFrequency(int which) const override;
};
