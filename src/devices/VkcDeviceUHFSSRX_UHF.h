#pragma once
// KEV400Rx(UHFSSRX).

#include "devices/VkcDeviceKEV400Rx.h"

class VkcDeviceUHFSSRX_UHF : public VkcDeviceKEV400Rx {
 public:
  static constexpr int kKey = 111;
  VkcDeviceUHFSSRX_UHF() { ApplyModelConstants(kKey); }
};
