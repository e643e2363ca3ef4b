#pragma once
// VK404AF: a VK400BT whose Bluetooth module is not offered as a feature.

#include "devices/VkcDeviceVK400BT.h"

class VkcDeviceVK404AF : public VkcDeviceVK400BT {
 public:
  static constexpr int kKey = 100;
  VkcDeviceVK404AF() { ApplyModelConstants(kKey); }
  bool HasFeature(VkcUnitImages& system, int featureId) const override {
    if (featureId == 5 || featureId == 12) return true;
    return VkcDevice::HasFeature(system, featureId);
  }
};
