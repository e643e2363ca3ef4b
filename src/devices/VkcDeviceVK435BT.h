#pragma once
// VK435BT: a VK435 with a Bluetooth module; its firmware families follow the VK400Tx rule.

#include "devices/VkcDeviceVK435.h"

class VkcDeviceVK435BT : public VkcDeviceVK435 {
 public:
  static constexpr int kKey = 43;
  VkcDeviceVK435BT() { ApplyModelConstants(kKey); }

  bool HasFeature(VkcUnitImages& system, int featureId) const override {
    if (featureId == 5 || featureId == 6 || featureId == 7) return true;
    return VkcDevice::HasFeature(system, featureId);
  }
  bool IsBluetoothModel() const override { return true; }
  int GetFirmwareFamily() const override;
};
