#pragma once
// UHF golden (reference) unit.

#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceUHFGolden : public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 1001;
  VkcDeviceUHFGolden() { ApplyModelConstants(kKey); }
};
