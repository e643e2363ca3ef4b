#pragma once
// ONX401: of the VK400Qr line; answers antenna detection itself.

#include "devices/VkcDeviceVK400Qr.h"

class VkcDeviceONX401 : public VkcDeviceVK400Qr {
 public:
  static constexpr int kKey = 74;
  VkcDeviceONX401() { ApplyModelConstants(kKey); }
  bool HasFeature(VkcUnitImages& system, int featureId) const override {
    if (featureId == 17) return true;
    return VkcDeviceVK400Qr::HasFeature(system, featureId);
  }
};
