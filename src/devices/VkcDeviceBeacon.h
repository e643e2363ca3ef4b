#pragma once
// Beacon receiver (reports the L-band model id and name). Its stations are frequencies in the
// dealer image's section 6; three factory presets are channels -3, -2 and -1; its channel and
// bit-rate index sit one level below everyone else's, and scanning is a flag of its own.

#include "devices/VkcDeviceLband.h"

class VkcDeviceBeacon : public VkcDeviceLband {
 public:
  static constexpr int kKey = 3601;
  VkcDeviceBeacon() { ApplyModelConstants(kKey); }

  int GetFrequencyTextLimit() const override { return 6; }
  uint32_t GetChannelFrequency(int channel, VkcUnitImages& system) const override;
  // A frequency in neither the station list nor the presets gives -2.
  int GetChannelNumber(uint32_t hz, VkcUnitImages& system) const override;
  void GetChannelList(VkcConfiguration& tree, std::vector<uint32_t>& out) const override;
  void GetChannelFrequencies(VkcUnitImages& system, std::vector<uint32_t>& out) const override;
  bool SetChannelList(VkcConfiguration& tree, const std::vector<uint32_t>& list) const override;
  bool SetChannelFrequencies(VkcUnitImages& system, const std::vector<uint32_t>& list) const override;
  bool HasFeature(VkcUnitImages& system, int featureId) const override;
  bool IsAutoScanActive() const override;
  void SetAutoScanning(bool on) const override;
  void GetModulationsForProtocol(int, std::vector<int>& out) const override { out.push_back(4); }
  // Any rate the mapping knows, even while scanning offers none.
  bool SetChannelSpacingHz(VkcUnitImages& system, int rate) const override;
  int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const override;
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  float GetChannelSpacingSteps(int index) const override {
    return static_cast<float>(ChannelSpacingFromIndex(index) / 2400.0);
  }
  void GetChannelSpacingList(std::vector<int>& out) const override;
  int ChannelSpacingToIndex(int rate) const override;
  int ChannelSpacingFromIndex(int index) const override;
  void FormatChannelSpacing(int rate, std::u16string& out) const override;
  uint32_t GetPresetFrequency(int index, VkcUnitImages* system) const override;
  int GetChannel(VkcUnitImages& system) const override;
  void SetChannel(VkcUnitImages& system, int channel) const override;
};
