#pragma once
// VK100RxAvia aviation receiver.

#include "devices/VkcDeviceReceiver.h"

class VkcDeviceVK100RxAvia : public VkcDeviceReceiver {
 public:
  static constexpr int kKey = 32;
  VkcDeviceVK100RxAvia() { ApplyModelConstants(kKey); }
  bool HasTransmitter() const override { return false; }
};
