// The VK400Tx line: raster channel map by firmware, families, features and spacing storage.

#include "devices/VkcDeviceVK400Tx.h"

#include "devices/VkcDeviceVK400Qr.h"
#include "devices/VkcModelRules.h"
#include "devices/VkcRasterChannels.h"
#include "devices/VkcUnitImages.h"
#include "link/Format.h"

using modelrules::GlobalImages;

bool VkcDeviceVK400Tx::RasterFirmware(const VkcUnitImages& system) {
  if (modelrules::FirmwareIs(system, 0, 0, 0)) return false;
  if (FirmwareInRange(system, {1, 6, 17}, {2, 0, 0})) return false;
  if (modelrules::FirmwareAbove(system, 2, 0, 1)) return false;
  return true;
}

uint32_t VkcDeviceVK400Tx::GetChannelFrequency(int channel, VkcUnitImages& system) const {
  if (!RasterFirmware(system)) return VkcDevice::GetChannelFrequency(channel, system);
  return raster::ChannelFrequency(channel, system);
}

int VkcDeviceVK400Tx::GetChannelNumber(uint32_t hz, VkcUnitImages& system) const {
  if (!RasterFirmware(system)) return VkcDevice::GetChannelNumber(hz, system);
  return raster::ChannelNumber(*this, hz, &system);
}

void VkcDeviceVK400Tx::GetChannelList(VkcConfiguration& tree, std::vector<uint32_t>& out) const {
  if (!RasterFirmware(GlobalImages())) return VkcDevice::GetChannelList(tree, out);
  raster::GetChannelList(*this, tree, out);
}

void VkcDeviceVK400Tx::GetChannelFrequencies(VkcUnitImages& system, std::vector<uint32_t>& out) const {
  if (!RasterFirmware(system)) return VkcDevice::GetChannelFrequencies(system, out);
  raster::GetChannelFrequencies(system, out);
}

bool VkcDeviceVK400Tx::SetChannelList(VkcConfiguration& tree, const std::vector<uint32_t>& list) const {
  if (!RasterFirmware(GlobalImages())) return VkcDevice::SetChannelList(tree, list);
  raster::SetChannelList(*this, tree, list);
  return true;
}

bool VkcDeviceVK400Tx::SetChannelFrequencies(VkcUnitImages& system, const std::vector<uint32_t>& list) const {
  if (!RasterFirmware(system)) return VkcDevice::SetChannelFrequencies(system, list);
  raster::SetChannelFrequencies(*this, system, list);
  return true;
}

bool VkcDeviceVK400Tx::HasFeature(VkcUnitImages& system, int featureId) const {
  if (featureId == 5 && (FirmwareInRange(system, {1, 9, 1}, {2, 0, 1}) || FirmwareAtLeast(system, {3, 0, 1}))) {
    return true;
  }
  return VkcDevice::HasFeature(system, featureId);
}

int VkcDeviceVK400Tx::GetFirmwareFamily() const { return VK400TxFamily(GlobalImages()); }

int VkcDeviceVK400Tx::GetChannelSpacingIndex(VkcUnitImages& system, int) const {
  SetReversedSpacingOrder(false);
  if (FirmwareInRange(system, {1, 6, 18}, {2, 0, 0})) return system.ReadInt(VkcNodes::kUserSpacing);
  if (!FirmwareAtLeast(system, {3, 0, 0})) return system.ReadInt(VkcNodes::kDealerSpacing);
  return system.ReadInt(VkcNodes::kUserSpacing);
}

void VkcDeviceVK400Tx::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  const bool dealer = !FirmwareInRange(system, {1, 6, 18}, {2, 0, 0}) && !FirmwareAtLeast(system, {3, 0, 0});
  system.WriteInt(dealer ? VkcNodes::kDealerSpacing : VkcNodes::kUserSpacing, index);
}

int VkcDeviceVK400Tx::SetAlc(VkcUnitImages& system, int a, int, int d, int, platform::Event* stop) const {
  return system.SetRadioCommand(StrPrintf("ALC A%d D%d\r", a, d), stop);
}

uint32_t VkcDeviceVK400Tx::GetBandFrequency(int which) const {
  return modelrules::BandFrequency(modelrules::kUhf410Band, which);
}

// --- VK400Qr: per-channel spacing and power in family 0 ---

int VkcDeviceVK400Qr::GetChannelSpacingIndex(VkcUnitImages& system, int channelIndex) const {
  if (GetFirmwareFamily() != 0) return system.ReadInt(VkcNodes::kUserSpacing);
  if (channelIndex != -1) return modelrules::ReadDealerChannel(system, channelIndex, VkcNodes::kChannelSpacingChild);
  const int n = system.ReadInt(VkcNodes::kChannel);
  if (n > 0) return modelrules::ReadDealerChannel(system, n - 1, VkcNodes::kChannelSpacingChild);
  return system.ReadInt(VkcNodes::kUserSpacing);
}

void VkcDeviceVK400Qr::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  const int n = system.ReadInt(VkcNodes::kChannel);
  if (GetFirmwareFamily() == 0 && n > 0) {
    modelrules::WriteDealerChannel(system, n - 1, VkcNodes::kChannelSpacingChild, index);
    return;
  }
  system.WriteInt(VkcNodes::kUserSpacing, index);
}

int VkcDeviceVK400Qr::GetOutputPower(int channelIndex) const {
  const VkcUnitImages& system = GlobalImages();
  const int v = system.ReadInt(VkcNodes::kOutputPower);
  if (GetFirmwareFamily() != 0) return v;
  if (channelIndex != kCurrentChannel) {
    return modelrules::ReadDealerChannel(system, channelIndex, VkcNodes::kChannelPowerChild);
  }
  const int n = system.ReadInt(VkcNodes::kChannel);
  return n > 0 ? modelrules::ReadDealerChannel(system, n - 1, VkcNodes::kChannelPowerChild) : v;
}

void VkcDeviceVK400Qr::SetOutputPower(int dbm, int channelIndex) const {
  VkcUnitImages* system = modelrules::MutableGlobalImages();
  if (!system) return;
  const int target =
      channelIndex == kCurrentChannel ? modelrules::OneBelow(system->ReadInt(VkcNodes::kChannel)) : channelIndex;
  if (GetFirmwareFamily() == 0 && target >= 0) {
    modelrules::WriteDealerChannel(*system, target, VkcNodes::kChannelPowerChild, dbm);
    return;
  }
  system->WriteInt(VkcNodes::kOutputPower, dbm);
}
