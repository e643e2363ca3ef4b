#pragma once
// VHF golden (reference) unit.

#include "devices/VkcDeviceTransceiver.h"

class VkcDeviceVHFGolden : public VkcDeviceTransceiver {
 public:
  static constexpr int kKey = 1002;
  VkcDeviceVHFGolden() { ApplyModelConstants(kKey); }
};
