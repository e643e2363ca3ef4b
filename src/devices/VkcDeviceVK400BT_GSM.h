#pragma once
// VK400BT_GSM: with a GSM/GPRS modem instead of the Bluetooth module.

#include "devices/VkcDeviceVK400BT.h"

class VkcDeviceVK400BT_GSM : public VkcDeviceVK400BT {
 public:
  static constexpr int kKey = 49;
  VkcDeviceVK400BT_GSM() { ApplyModelConstants(kKey); }
  bool IsBluetoothModel() const override { return false; }
  bool IsGsmModel() const override { return true; }
};
