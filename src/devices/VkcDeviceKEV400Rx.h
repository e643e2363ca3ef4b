#pragma once
// KEV/VK400Rx receiver.

#include "devices/VkcDeviceReceiver.h"

class VkcDeviceKEV400Rx : public VkcDeviceReceiver {
 public:
  static constexpr int kKey = 58;
  VkcDeviceKEV400Rx() { ApplyModelConstants(kKey); }
  bool HasTransmitter() const override { return false; }
};
