#pragma once
// VK100RxAvia: aviation-band receiver; channels by the RTCA numbering, one 25 kHz spacing.

#include "devices/VkcDeviceReceiver.h"
#include "devices/VkcModelRules.h"

class VkcDeviceVK100RxAvia : public VkcDeviceReceiver {
 public:
  static constexpr int kKey = 32;
  static constexpr int kFirstChannel = 20001;
  static constexpr int kLastChannel = 39999;
  VkcDeviceVK100RxAvia() { ApplyModelConstants(kKey); }

  // -4: the dealer's stored channel DDCFG[5][0]; -3..-1: the band frequencies.
  uint32_t GetChannelFrequency(int channel, VkcUnitImages& system) const override;
  void GetChannelNumberRange(int& min, int& max) const override {
    min = kFirstChannel;
    max = kLastChannel;
  }
  bool HasTransmitter() const override { return false; }
  void GetProtocolList(bool, std::vector<int>& out) const override { out.push_back(1); }
  bool HasFeature(VkcUnitImages& system, int featureId) const override {
    if (featureId == 0 || featureId == 1 || featureId == 2 || featureId == 8) return false;
    if (featureId == 12 || featureId == 14) return true;
    return VkcDeviceReceiver::HasFeature(system, featureId);
  }
  bool IsRepeaterAllowed(int) const override { return false; }
  void GetModulationsForProtocol(int, std::vector<int>& out) const override { out.push_back(2); }
  int GetChannelSpacingIndex(VkcUnitImages&, int) const override { return 0; }
  // Whatever the index, 0 is stored.
  void SetChannelSpacingIndex(VkcUnitImages& system, int index) const override;
  float GetChannelSpacingSteps(int) const override { return 4.375f; }
  void GetChannelSpacingList(std::vector<int>& out) const override { out.assign({25000}); }
  int ChannelSpacingToIndex(int) const override { return 0; }
  int ChannelSpacingFromIndex(int) const override { return 25000; }
  bool HasAlarmOutputs() const override { return false; }
  uint32_t GetBandFrequency(int which) const override {
    static constexpr modelrules::Band kBand = {108000000, 113000000, 118000000};
    return modelrules::BandFrequency(kBand, which);
  }
};
