#include "devices/VkcDeviceVK400.h"

#include "devices/VkcModelRules.h"
#include "devices/VkcUnitImages.h"

using modelrules::GlobalImages;

void VkcDeviceVK400::GetProtocolList(bool transmitter, std::vector<int>& out) const {
  if (!FirmwareBelow(GlobalImages(), {1, 6, 0})) {
    AppendFullProtocolList(transmitter, GetFirmwareFamily(), out);
  } else {
    VkcDeviceTransceiver::GetProtocolList(transmitter, out);
  }
}

bool VkcDeviceVK400::HasFeature(VkcUnitImages& system, int featureId) const {
  if (featureId == 17) return false;
  if (featureId == 5 && FirmwareAtLeast(system, {1, 8, 0})) return true;
  return VkcDevice::HasFeature(system, featureId);
}

bool VkcDeviceVK400::FourSpacings() {
  const VkcUnitImages& system = GlobalImages();
  return FirmwareInRange(system, {1, 6, 13}, {2, 0, 0}) || FirmwareAtLeast(system, {3, 0, 0});
}

void VkcDeviceVK400::GetChannelSpacingList(std::vector<int>& out) const {
  const VkcUnitImages& system = GlobalImages();
  out.clear();
  out.insert(out.end(), {6250, 12500});
  if (FirmwareInRange(system, {1, 8, 0}, {2, 0, 0}) || FirmwareAtLeast(system, {3, 0, 0})) {
    out.insert(out.end(), {20000, 25000});
  } else {
    out.push_back(25000);
  }
}

int VkcDeviceVK400::ChannelSpacingToIndex(int hz) const {
  return FourSpacings() ? FourSpacingToIndex(hz, false) : VkcDevice::ChannelSpacingToIndex(hz);
}

int VkcDeviceVK400::ChannelSpacingFromIndex(int index) const {
  return FourSpacings() ? FourSpacingFromIndex(index, false) : VkcDevice::ChannelSpacingFromIndex(index);
}

float VkcDeviceVK400::GetChannelSpacingSteps(int index) const {
  return FourSpacings() ? FourSpacingSteps(index) : VkcDevice::GetChannelSpacingSteps(index);
}

int VkcDeviceVK400::GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const {
  SetReversedSpacingOrder(false);
  if (FirmwareInRange(system, {1, 8, 0}, {2, 0, 0})) {
    // Per-channel spacing. An index outside the map reads as absent.
    if (channelIndex != -1) return modelrules::ReadDealerChannel(system, channelIndex, VkcNodes::kChannelSpacingChild);
    const int n = system.ReadInt(VkcNodes::kChannel);
    if (n > 0) return modelrules::ReadDealerChannel(system, n - 1, VkcNodes::kChannelSpacingChild);
    return system.ReadInt(VkcNodes::kUserSpacing);
  }
  if (FirmwareInRange(system, {1, 6, 13}, {1, 8, 0})) return system.ReadInt(VkcNodes::kUserSpacing);
  if (!FirmwareAtLeast(system, {3, 0, 0})) {
    SetReversedSpacingOrder(true);
    return system.ReadInt(VkcNodes::kDealerSpacing);
  }
  return system.ReadInt(VkcNodes::kUserSpacing);
}

void VkcDeviceVK400::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  if (FirmwareInRange(system, {1, 8, 0}, {2, 0, 0})) {
    const int n = system.ReadInt(VkcNodes::kChannel);
    if (n > 0 && modelrules::WriteDealerChannel(system, n - 1, VkcNodes::kChannelSpacingChild, index)) return;
    if (n <= 0) system.WriteInt(VkcNodes::kUserSpacing, index);
    return;
  }
  if (FirmwareInRange(system, {1, 6, 13}, {1, 8, 0}) || FirmwareAtLeast(system, {3, 0, 0})) {
    system.WriteInt(VkcNodes::kUserSpacing, index);
    return;
  }
  system.WriteInt(VkcNodes::kDealerSpacing, index);
}

int VkcDeviceVK400::GetOutputPower(int channelIndex) const {
  const VkcUnitImages& system = GlobalImages();
  const bool perChannel = GetFirmwareFamily() == 0 && FirmwareAtLeast(system, {1, 8, 0});
  if (perChannel) {
    if (channelIndex != kCurrentChannel) {
      return modelrules::ReadDealerChannel(system, channelIndex, VkcNodes::kChannelPowerChild);
    }
    const int n = system.ReadInt(VkcNodes::kChannel);
    if (n > 0) return modelrules::ReadDealerChannel(system, n - 1, VkcNodes::kChannelPowerChild);
  }
  return system.ReadInt(VkcNodes::kOutputPower);
}

void VkcDeviceVK400::SetOutputPower(int dbm, int channelIndex) const {
  VkcUnitImages* system = modelrules::MutableGlobalImages();
  if (!system) return;
  const bool perChannel = GetFirmwareFamily() == 0 && FirmwareAtLeast(*system, {1, 8, 0});
  const int target =
      channelIndex == kCurrentChannel ? modelrules::OneBelow(system->ReadInt(VkcNodes::kChannel)) : channelIndex;
  if (perChannel && target >= 0) {
    modelrules::WriteDealerChannel(*system, target, VkcNodes::kChannelPowerChild, dbm);
    return;
  }
  system->WriteInt(VkcNodes::kOutputPower, dbm);
}

uint32_t VkcDeviceVK400::GetBandFrequency(int which) const { return modelrules::BandFrequency(modelrules::kUhfBand, which); }
