#pragma once
// VK400Rx receiver. Its synthesizer takes the words R, A and N: from the table of exact settings,
// else from the search of the frequency calculator.

#include "devices/VkcDeviceReceiver.h"
#include "devices/VkcModelRules.h"

class VkcDeviceVK400Rx : public VkcDeviceReceiver {
 public:
  static constexpr int kKey = 2;
  VkcDeviceVK400Rx() { ApplyModelConstants(kKey); }

  // The unit answers with an index (1..9) or with a rate in bit/s.
  int GetMaintenancePortRate(VkcComPort* conn, platform::Event* stop) const override;
  bool HasTransmitter() const override { return false; }
  void GetProtocolList(bool, std::vector<int>& out) const override { out.insert(out.end(), {1, 7, 12, 14}); }
  int GetChannelSpacingIndex(VkcUnitImages& system, int) const override { return UhfSpacingIndex(system); }
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override { SetUhfSpacingIndex(system, index); }
  float GetChannelSpacingSteps(int index) const override { return UhfSpacingSteps(index); }
  void GetChannelSpacingList(std::vector<int>& out) const override { out.assign({6250, 12500, 25000, 20000}); }
  int ChannelSpacingToIndex(int hz) const override { return UhfSpacingToIndex(hz); }
  int ChannelSpacingFromIndex(int index) const override { return UhfSpacingFromIndex(index); }
  bool HasAlarmOutputs() const override { return false; }
  // The node's value is hz; children [0] R, [1] A, [2] N. Empty when the search is cancelled or
  // finds nothing.
  CfgNode CalcSynthesizerSettings(uint32_t hz) const override;
  uint32_t GetBandFrequency(int which) const override {
    return modelrules::BandFrequency(modelrules::kUhfBand, which);
  }
};
