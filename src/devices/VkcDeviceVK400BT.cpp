// The VK400BT line and the spacing nodes of the models that keep it in the user image alone.

#include "devices/VkcDeviceVK400BT.h"

#include "devices/VkcDeviceONX402.h"
#include "devices/VkcModelRules.h"
#include "devices/VkcUnitImages.h"

bool VkcDeviceVK400BT::HasFeature(VkcUnitImages& system, int featureId) const {
  if (featureId == 5 || featureId == 7 || featureId == 12) return true;
  return VkcDevice::HasFeature(system, featureId);
}

int VkcDeviceVK400BT::GetChannelSpacingIndex(VkcUnitImages& system, int) const {
  return system.ReadInt(VkcNodes::kUserSpacing);
}

void VkcDeviceVK400BT::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  system.WriteInt(VkcNodes::kUserSpacing, index);
}

uint32_t VkcDeviceVK400BT::GetBandFrequency(int which) const {
  return modelrules::BandFrequency(modelrules::kUhfBtBand, which);
}

int VkcDeviceONX402::GetChannelSpacingIndex(VkcUnitImages& system, int) const {
  return system.ReadInt(VkcNodes::kUserSpacing);
}

void VkcDeviceONX402::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  system.WriteInt(VkcNodes::kUserSpacing, index);
}
