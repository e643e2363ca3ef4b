#pragma once
// L-band receiver.

#include "devices/VkcDeviceReceiver.h"

class VkcDeviceLband : public VkcDeviceReceiver {
 public:
  static constexpr int kKey = 36;
  VkcDeviceLband() { ApplyModelConstants(kKey); }
  bool HasTransmitter() const override { return false; }
  bool CanSwitchReceiverMode() const override { return true; }
};
