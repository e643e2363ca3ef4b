// Protocol lists and spacing nodes of the VK100 and VK135 lines and the VK435BT families.

#include "devices/VkcDeviceVK100.h"

#include "devices/VkcDeviceVK135.h"
#include "devices/VkcDeviceVK135BT.h"
#include "devices/VkcDeviceVK435BT.h"
#include "devices/VkcUnitImages.h"

void VkcDeviceVK100::GetProtocolList(bool transmitter, std::vector<int>& out) const {
  const int f = GetFirmwareFamily();
  if (transmitter) {
    out.push_back(2);
    if (f == 3) out.push_back(4);
    return;
  }
  out.push_back(1);
  if (f == 0 || f == 2) out.push_back(10);
  if (f == 3) out.push_back(3);
}

int VkcDeviceVK100::GetChannelSpacingIndex(VkcUnitImages& system, int) const {
  return system.ReadInt(VkcNodes::kUserSpacing);
}

void VkcDeviceVK100::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  system.WriteInt(VkcNodes::kUserSpacing, index);
}

void VkcDeviceVK135::GetProtocolList(bool transmitter, std::vector<int>& out) const {
  const int f = GetFirmwareFamily();
  const bool plain = f == 0 || f == 2;
  if (transmitter) {
    out.push_back(2);
    if (f == 3) out.push_back(4);
    out.push_back(13);
    return;
  }
  out.push_back(1);
  if (plain) out.push_back(10);
  if (f == 3) out.push_back(3);
  out.push_back(12);
  if (plain) out.push_back(9);
}

int VkcDeviceVK135BT::GetChannelSpacingIndex(VkcUnitImages& system, int) const {
  return system.ReadInt(VkcNodes::kUserSpacing);
}

void VkcDeviceVK135BT::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  system.WriteInt(VkcNodes::kUserSpacing, index);
}

int VkcDeviceVK435BT::GetFirmwareFamily() const { return VK400TxFamily(modelrules::GlobalImages()); }
