#pragma once
// Frequency-hopping UHFSSRX receiver: takes no constants of its own.

#include "devices/VkcDeviceReceiver.h"

class VkcDeviceUHFSSRX_FH : public VkcDeviceReceiver {
 public:
  static constexpr int kKey = 1112;
  VkcDeviceUHFSSRX_FH() { ApplyModelConstants(kKey); }
};
