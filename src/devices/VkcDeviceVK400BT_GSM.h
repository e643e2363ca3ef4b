#pragma once
// VK400BT_GSM: with a GSM/GPRS modem instead of the Bluetooth module, and its data routes.

#include "devices/VkcDeviceVK400BT.h"

class VkcDeviceVK400BT_GSM : public VkcDeviceVK400BT {
 public:
  static constexpr int kKey = 49;
  VkcDeviceVK400BT_GSM() { ApplyModelConstants(kKey); }

  bool HasFeature(VkcUnitImages& system, int featureId) const override {
    if (featureId == 13) return true;
    return VkcDeviceVK400BT::HasFeature(system, featureId);
  }
  bool IsBluetoothModel() const override { return false; }
  bool IsGsmModel() const override { return true; }
  const char16_t* const* GetRouteNames(int& count) const override {
    static const char16_t* const kRoutes[] = {
        u"UHF <-> UART",
        u"UHF <-> USB",
        u"UHF <-> BT",
        u"GSMGPRS <-> UART",
        u"GSMGPRS <-> USB",
        u"GSMGPRS <-> BT",
        u"GSMGPRS <-> UART and GSMGPRS -> UHF",
        u"GSMGPRS <-> USB and GSMGPRS -> UHF",
        u"GSMGPRS <-> BT and GSMGPRS -> UHF",
        u"GSMGPRS <-> UHF",
    };
    count = 10;
    return kRoutes;
  }
};
