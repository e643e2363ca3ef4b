#pragma once
// ONX104BT_GSM.

#include "devices/VkcDeviceVK100BT_GSM.h"

class VkcDeviceONX104BT_GSM : public VkcDeviceVK100BT_GSM {
 public:
  static constexpr int kKey = 71;
  VkcDeviceONX104BT_GSM() { ApplyModelConstants(kKey); }
};
