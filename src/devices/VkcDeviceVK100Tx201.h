#pragma once
// VK100Tx (key 201): a VK100 with the full protocol list.

#include "devices/VkcDeviceVK100.h"

class VkcDeviceVK100Tx201 : public VkcDeviceVK100 {
 public:
  static constexpr int kKey = 201;
  VkcDeviceVK100Tx201() { ApplyModelConstants(kKey); }
  void GetProtocolList(bool transmitter, std::vector<int>& out) const override {
    AppendFullProtocolList(transmitter, GetFirmwareFamily(), out);
  }
};
