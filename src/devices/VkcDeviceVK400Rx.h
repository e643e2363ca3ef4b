#pragma once
// VK400Rx receiver.

#include "devices/VkcDeviceReceiver.h"

class VkcDeviceVK400Rx : public VkcDeviceReceiver {
 public:
  static constexpr int kKey = 2;
  VkcDeviceVK400Rx() { ApplyModelConstants(kKey); }
  bool HasTransmitter() const override { return false; }
};
