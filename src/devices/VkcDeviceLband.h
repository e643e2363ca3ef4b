#pragma once
// L-band receiver. Its "spacings" are the bit rates of the correction service. It can switch to
// the beacon receiver mode: the device for a mode is the L-band or the beacon prototype.

#include <atomic>

#include "devices/VkcDeviceReceiver.h"

class VkcDeviceLband : public VkcDeviceReceiver {
 public:
  static constexpr int kKey = 36;
  static constexpr int kBeaconKey = 3601;
  VkcDeviceLband() { ApplyModelConstants(kKey); }

  int GetMaxScramblingLinkId() const override { return 32767; }
  int GetFrequencyTextLimit() const override { return 10; }
  bool HasTransmitter() const override { return false; }
  void GetProtocolList(bool, std::vector<int>& out) const override { out.push_back(1); }
  bool HasFeature(VkcUnitImages&, int featureId) const override {
    return featureId == 4 || featureId == 8 || featureId == 9;
  }
  bool IsRepeaterAllowed(int) const override { return false; }
  void GetModulationsForProtocol(int, std::vector<int>& out) const override { out.push_back(6); }
  float GetChannelSpacingSteps(int index) const override {
    return static_cast<float>(ChannelSpacingFromIndex(index) / 2400.0);
  }
  void GetChannelSpacingList(std::vector<int>& out) const override { out.assign({300, 600, 1200, 2400, 4800}); }
  int ChannelSpacingToIndex(int rate) const override;
  int ChannelSpacingFromIndex(int index) const override;
  // "9600 Hz (4800 bps)": the bandwidth is twice the rate.
  void FormatChannelSpacing(int rate, std::u16string& out) const override;
  bool HasAlarmOutputs() const override { return false; }
  bool CanSwitchReceiverMode() const override { return true; }
  // 0: the L-band prototype, 1: the beacon prototype; any other mode (or before the device manager
  // attached them) this object.
  const VkcDevice* GetDeviceForMode(int mode) const override;

  // The device manager hands every L-band prototype the two it switches between.
  void AttachModePrototypes(const VkcDevice* lband, const VkcDevice* beacon) const;

 private:
  mutable std::atomic<const VkcDevice*> lband_{nullptr};
  mutable std::atomic<const VkcDevice*> beacon_{nullptr};
};
