#pragma once
// KEV/VK400RxS.

#include "devices/VkcDeviceKEV400Rx.h"

class VkcDeviceKEV400RxS : public VkcDeviceKEV400Rx {
 public:
  static constexpr int kKey = 112;
  VkcDeviceKEV400RxS() { ApplyModelConstants(kKey); }
};
