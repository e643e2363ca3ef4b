#pragma once
// VK135BT: VHF high-power transceiver with Bluetooth; four spacings, the index in the user image.

#include "devices/VkcDeviceHighPower.h"
#include "devices/VkcModelRules.h"

class VkcDeviceVK135BT : public VkcDeviceHighPower {
 public:
  static constexpr int kKey = 42;
  VkcDeviceVK135BT() { ApplyModelConstants(kKey); }

  void GetProtocolList(bool transmitter, std::vector<int>& out) const override {
    AppendFullProtocolList(transmitter, GetFirmwareFamily(), out);
  }
  bool HasFeature(VkcUnitImages& system, int featureId) const override {
    if (featureId == 5 || featureId == 6 || featureId == 7) return true;
    return VkcDevice::HasFeature(system, featureId);
  }
  bool IsBluetoothModel() const override { return true; }
  int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const override;
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  float GetChannelSpacingSteps(int index) const override { return FourSpacingSteps(index); }
  void GetChannelSpacingList(std::vector<int>& out) const override { out.assign({6250, 12500, 25000, 20000}); }
  int ChannelSpacingToIndex(int hz) const override { return FourSpacingToIndex(hz, false); }
  int ChannelSpacingFromIndex(int index) const override { return FourSpacingFromIndex(index, false); }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kVhf150Band, which);
  }
};
