#pragma once
// KEV/VK400Rx receiver line: sensitivity and sync-reset settings, its own modulations.

#include "devices/VkcDeviceReceiver.h"
#include "devices/VkcModelRules.h"

class VkcDeviceKEV400Rx : public VkcDeviceReceiver {
 public:
  static constexpr int kKey = 58;
  VkcDeviceKEV400Rx() { ApplyModelConstants(kKey); }

  bool HasTransmitter() const override { return false; }
  void GetProtocolList(bool, std::vector<int>& out) const override { out.insert(out.end(), {1, 7, 12, 14}); }
  bool SupportsSensitivity() const override { return true; }
  bool SupportsSyncResetTime() const override { return true; }
  void GetModulationsForProtocol(int protocol, std::vector<int>& out) const override;
  int GetChannelSpacingIndex(VkcUnitImages& system, int) const override { return UhfSpacingIndex(system); }
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override { SetUhfSpacingIndex(system, index); }
  float GetChannelSpacingSteps(int index) const override { return UhfSpacingSteps(index); }
  void GetChannelSpacingList(std::vector<int>& out) const override { out.assign({6250, 12500, 25000, 20000}); }
  int ChannelSpacingToIndex(int hz) const override { return UhfSpacingToIndex(hz); }
  int ChannelSpacingFromIndex(int index) const override { return UhfSpacingFromIndex(index); }
  bool HasAlarmOutputs() const override { return false; }
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kUhfBand, which);
  }
};
