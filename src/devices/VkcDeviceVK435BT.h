#pragma once
// VK435BT: VK435 with Bluetooth.

#include "devices/VkcDeviceVK435.h"

class VkcDeviceVK435BT : public VkcDeviceVK435 {
 public:
  static constexpr int kKey = 43;
  VkcDeviceVK435BT() { ApplyModelConstants(kKey); }
  bool IsBluetoothModel() const override { return true; }
};
