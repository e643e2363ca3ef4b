#pragma once
// Models built for a Topcon receiver: the channel map always on the 6250 Hz raster (the base
// frequency list is rebuilt first), spacings 25000 and 12500 Hz only, no hopping, scanning,
// message types or separate receive channel.

#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceTopcon : public VkcDeviceTransceiver {
 public:
  uint32_t GetChannelFrequency(int channel, VkcUnitImages& system) const override;
  int GetChannelNumber(uint32_t hz, VkcUnitImages& system) const override;
  void GetChannelList(VkcConfiguration& tree, std::vector<uint32_t>& out) const override;
  void GetChannelFrequencies(VkcUnitImages& system, std::vector<uint32_t>& out) const override;
  bool SetChannelList(VkcConfiguration& tree, const std::vector<uint32_t>& list) const override;
  bool SetChannelFrequencies(VkcUnitImages& system, const std::vector<uint32_t>& list) const override;
  // The base list, then 8, 13 or 7, 11, 12, 9: entries repeat.
  void GetProtocolList(bool transmitter, std::vector<int>& out) const override;
  bool HasFeature(VkcUnitImages& system, int featureId) const override;
  int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const override;
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  void GetChannelSpacingList(std::vector<int>& out) const override { out.assign({12500, 25000}); }
  int ChannelSpacingToIndex(int hz) const override { return hz == 25000 ? 0 : hz == 12500 ? 1 : -1; }
  int ChannelSpacingFromIndex(int index) const override { return index == 0 ? 25000 : index == 1 ? 12500 : -1; }
};
