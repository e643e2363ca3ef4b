#pragma once
// VK100BT_GSM.

#include "devices/VkcDeviceVK400BT_GSM.h"

class VkcDeviceVK100BT_GSM : public VkcDeviceVK400BT_GSM {
 public:
  static constexpr int kKey = 70;
  VkcDeviceVK100BT_GSM() { ApplyModelConstants(kKey); }
};
