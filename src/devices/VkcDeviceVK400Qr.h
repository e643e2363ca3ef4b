#pragma once
// VK400Qr: the VK400Tx line with the transceiver firmware families again; in family 0 each dealer
// channel keeps its own spacing and output power.

#include "devices/VkcDeviceVK400Tx.h"

class VkcDeviceVK400Qr : public VkcDeviceVK400Tx {
 public:
  static constexpr int kKey = 28;
  VkcDeviceVK400Qr() { ApplyModelConstants(kKey); }

  int GetFirmwareFamily() const override { return VkcDeviceTransceiver::GetFirmwareFamily(); }
  int GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const override;
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  float GetChannelSpacingSteps(int index) const override { return FourSpacingSteps(index); }
  int ChannelSpacingToIndex(int hz) const override { return FourSpacingToIndex(hz, false); }
  int ChannelSpacingFromIndex(int index) const override { return FourSpacingFromIndex(index, false); }
  int GetOutputPower(int channelIndex) const override;
  void SetOutputPower(int dbm, int channelIndex) const override;
};
