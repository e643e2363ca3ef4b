#pragma once
// VK400BT: VK400 with Bluetooth.

#include "devices/VkcDeviceVK400.h"

class VkcDeviceVK400BT : public VkcDeviceVK400 {
 public:
  static constexpr int kKey = 48;
  VkcDeviceVK400BT() { ApplyModelConstants(kKey); }
  bool IsBluetoothModel() const override { return true; }
};
