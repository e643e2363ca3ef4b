#pragma once
// ONX404BT_GSM.

#include "devices/VkcDeviceVK400BT_GSM.h"

class VkcDeviceONX404BT_GSM : public VkcDeviceVK400BT_GSM {
 public:
  static constexpr int kKey = 47;
  VkcDeviceONX404BT_GSM() { ApplyModelConstants(kKey); }
};
