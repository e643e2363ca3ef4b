#pragma once
// VK400Tx transceiver line. Some firmware keeps the dealer channel map on the 6250 Hz raster
// (channel numbers in section 5); the rest keeps the base frequency list.

#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceVK400Tx : public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 6;
  VkcDeviceVK400Tx() { ApplyModelConstants(kKey); }

  uint32_t GetChannelFrequency(int channel, VkcUnitImages& system) const override;
  int GetChannelNumber(uint32_t hz, VkcUnitImages& system) const override;
  void GetChannelList(VkcConfiguration& tree, std::vector<uint32_t>& out) const override;
  void GetChannelFrequencies(VkcUnitImages& system, std::vector<uint32_t>& out) const override;
  bool SetChannelList(VkcConfiguration& tree, const std::vector<uint32_t>& list) const override;
  bool SetChannelFrequencies(VkcUnitImages& system, const std::vector<uint32_t>& list) const override;
  void GetProtocolList(bool transmitter, std::vector<int>& out) const override {
    AppendFullProtocolList(transmitter, GetFirmwareFamily(), out);
  }
  bool HasFeature(VkcUnitImages& system, int featureId) const override;
  int GetFirmwareFamily() const override;
  int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const override;
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  void GetChannelSpacingList(std::vector<int>& out) const override { out.assign({6250, 12500, 25000, 20000}); }
  int ChannelSpacingToIndex(int hz) const override { return FourSpacingToIndex(hz, IsReversedSpacingOrder()); }
  int ChannelSpacingFromIndex(int index) const override {
    return FourSpacingFromIndex(index, IsReversedSpacingOrder());
  }
  bool HasAlarmOutputs() const override { return false; }
  uint32_t GetBandFrequency(int which) const override;

  // Sets the automatic level control: "ALC A%d D%d" with a and d (x and y are not sent). The
  // result is the unit's: 0 when it accepted the setting.
  virtual int SetAlc(VkcUnitImages& system, int a, int x, int d, int y, platform::Event* stop) const;

  // The unit's firmware keeps the raster map.
  static bool RasterFirmware(const VkcUnitImages& system);
};
