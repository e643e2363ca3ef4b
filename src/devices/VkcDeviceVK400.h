#pragma once
// VK400 transceiver. Its firmware moved the spacing and the output power around: from 1.8.0 to
// below 2.0.0 each dealer channel keeps its own spacing (and, in family 0, its own power).

#include "devices/VkcDeviceHighPower.h"

class VkcDeviceVK400 : public VkcDeviceHighPower {
 public:
  static constexpr int kKey = 4;
  VkcDeviceVK400() { ApplyModelConstants(kKey); }

  void GetProtocolList(bool transmitter, std::vector<int>& out) const override;
  bool HasFeature(VkcUnitImages& system, int featureId) const override;
  int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const override;
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  float GetChannelSpacingSteps(int index) const override;
  void GetChannelSpacingList(std::vector<int>& out) const override;
  int ChannelSpacingToIndex(int hz) const override;
  int ChannelSpacingFromIndex(int index) const override;
  int GetOutputPower(int channelIndex) const override;
  void SetOutputPower(int dbm, int channelIndex) const override;
  uint32_t GetBandFrequency(int which) const override;

 private:
  // The four-spacing mapping applies to this firmware; older firmware keeps the base mapping.
  static bool FourSpacings();
};
