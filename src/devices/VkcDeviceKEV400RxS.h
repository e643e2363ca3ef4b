#pragma once
// KEV/VK400RxS: without the 20000 Hz spacing.

#include "devices/VkcDeviceKEV400Rx.h"

class VkcDeviceKEV400RxS : public VkcDeviceKEV400Rx {
 public:
  static constexpr int kKey = 112;
  VkcDeviceKEV400RxS() { ApplyModelConstants(kKey); }
  void GetChannelSpacingList(std::vector<int>& out) const override { out.assign({6250, 12500, 25000}); }
};
