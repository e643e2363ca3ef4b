#pragma once
// Receive-only units: no transmitter protocol, firmware family 0, no antenna detection.

#include "devices/VkcDevice.h"

class VkcDeviceReceiver : public VkcDevice {
 public:
  bool IsTransmitterProtocol(VkcUnitImages&, bool, platform::Event*) const override { return false; }
  bool HasFeature(VkcUnitImages& system, int featureId) const override {
    if (featureId == 17) return false;
    return VkcDevice::HasFeature(system, featureId);
  }
  int GetFirmwareFamily() const override { return 0; }

 protected:
  // The UHF receivers' spacing: the four spacings 25000, 12500, 6250 and 20000 Hz by index (no
  // swapped order), 3.125 steps for index 3, and the index stored by the base rule with 1.6.8 as
  // the first firmware that keeps it in the user image.
  static int UhfSpacingFromIndex(int index);
  static int UhfSpacingToIndex(int hz);
  float UhfSpacingSteps(int index) const;
  int UhfSpacingIndex(VkcUnitImages& system) const;
  void SetUhfSpacingIndex(VkcUnitImages& system, int index) const;
};
