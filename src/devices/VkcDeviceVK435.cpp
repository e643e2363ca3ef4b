#include "devices/VkcDeviceVK435.h"

#include "devices/VkcModelRules.h"
#include "devices/VkcUnitImages.h"

void VkcDeviceVK435::GetChannelSpacingList(std::vector<int>& out) const {
  const VkcUnitImages& system = modelrules::GlobalImages();
  out.assign({6250, 12500, 25000});
  if (FirmwareBelow(system, {2, 0, 0}) || FirmwareAtLeast(system, {3, 0, 0})) out.push_back(20000);
}

int VkcDeviceVK435::GetChannelSpacingIndex(VkcUnitImages& system, int) const {
  return ReadSpacingIndex(system, {1, 6, 11});
}

void VkcDeviceVK435::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  WriteSpacingIndex(system, {1, 6, 11}, index);
}

uint32_t VkcDeviceVK435::GetBandFrequency(int which) const { return modelrules::BandFrequency(modelrules::kUhfBand, which); }
