#pragma once
// ONX402: a VK400 with the full protocol list, the base features, the spacing index always in the
// user image and the output power of the transceiver base.

#include "devices/VkcDeviceVK400.h"

class VkcDeviceONX402 : public VkcDeviceVK400 {
 public:
  static constexpr int kKey = 31;
  VkcDeviceONX402() { ApplyModelConstants(kKey); }

  void GetProtocolList(bool transmitter, std::vector<int>& out) const override {
    AppendFullProtocolList(transmitter, GetFirmwareFamily(), out);
  }
  bool HasFeature(VkcUnitImages& system, int featureId) const override {
    return VkcDevice::HasFeature(system, featureId);
  }
  int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const override;
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  int GetOutputPower(int channelIndex) const override { return VkcDeviceTransceiver::GetOutputPower(channelIndex); }
  void SetOutputPower(int dbm, int channelIndex) const override {
    VkcDeviceTransceiver::SetOutputPower(dbm, channelIndex);
  }
};
