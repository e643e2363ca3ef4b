#pragma once
// VK135BT: high power with Bluetooth.

#include "devices/VkcDeviceHighPower.h"

class VkcDeviceVK135BT : public VkcDeviceHighPower {
 public:
  static constexpr int kKey = 42;
  VkcDeviceVK135BT() { ApplyModelConstants(kKey); }
  bool IsBluetoothModel() const override { return true; }
};
