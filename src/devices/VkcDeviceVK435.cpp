#include "devices/VkcDeviceVK435.h"

#include "devices/VkcModelRules.h"
#include "devices/VkcUnitImages.h"

void VkcDeviceVK435::GetChannelSpacingList(std::vector<int>& out) const {
  const VkcUnitImages& system = modelrules::GlobalImages();
  out.assign({6250, 12500, 25000});
  if (FirmwareBelow(system, {2, 0, 0}) || FirmwareAtLeast(system, {3, 0, 0})) out.push_back(20000);
}

int VkcDeviceVK435::GetChannelSpacingIndex(VkcUnitImages& system, int) const {
  SetReversedSpacingOrder(true);
  if (FirmwareBelow(system, {1, 6, 11}) || FirmwareInRange(system, {2, 0, 0}, {3, 0, 0})) {
    return system.ReadInt(VkcNodes::kDealerSpacing);
  }
  if (system.HasValue(VkcNodes::kUserSpacing)) {
    SetReversedSpacingOrder(false);
    return system.ReadInt(VkcNodes::kUserSpacing);
  }
  return system.ReadInt(VkcNodes::kDealerSpacing);
}

void VkcDeviceVK435::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  const bool user = system.HasValue(VkcNodes::kUserSpacing) &&
                    (FirmwareInRange(system, {1, 6, 11}, {2, 0, 0}) || FirmwareAtLeast(system, {3, 0, 0}));
  system.WriteInt(user ? VkcNodes::kUserSpacing : VkcNodes::kDealerSpacing, index);
}

uint32_t VkcDeviceVK435::GetBandFrequency(int which) const { return modelrules::BandFrequency(modelrules::kUhfBand, which); }
