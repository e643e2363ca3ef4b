// L-band and beacon receivers and the aviation receiver's channel numbering.

#include "devices/VkcDeviceLband.h"

#include "devices/VkcDeviceBeacon.h"
#include "devices/VkcDeviceVK100RxAvia.h"
#include "devices/VkcModelRules.h"
#include "devices/VkcUnitImages.h"
#include "link/Format.h"
#include "link/Utf.h"
#include "link/VkcConfiguration.h"

namespace {

constexpr int kStationSection = 6;

// Beacon nodes one level below the common ones.
constexpr VkcNodePath kBeaconChannel = VkcPath(kVkcU, 2, 0, 0);
constexpr VkcNodePath kBeaconRate = VkcPath(kVkcU, 2, 7, 0);
// Factory presets of the beacon channels -3, -2, -1.
constexpr int kFirstBeaconPreset = 3;

uint32_t FactoryPreset(const VkcUnitImages& system, int index) {
  return static_cast<uint32_t>(system.ReadInt(VkcPath(kVkcF, VkcNodes::kFactoryChannels.steps[0], index)));
}

void ReadValues(const CfgNode* list, std::vector<uint32_t>& out) {
  out.clear();
  if (!list) return;
  for (size_t i = 0; i < list->GetChildCount(); ++i) out.push_back(list->ChildAt(i).GetScalar());
}

}  // namespace

// --- L-band ---

int VkcDeviceLband::ChannelSpacingToIndex(int rate) const {
  switch (rate) {
    case 4800: return 0;
    case 2400: return 1;
    case 1200: return 2;
    case 600: return 3;
    case 300: return 4;
    default: return -1;
  }
}

int VkcDeviceLband::ChannelSpacingFromIndex(int index) const {
  static constexpr int kRates[] = {4800, 2400, 1200, 600, 300};
  return index >= 0 && index < 5 ? kRates[index] : -1;
}

void VkcDeviceLband::FormatChannelSpacing(int rate, std::u16string& out) const {
  out = Utf8ToUtf16(StrPrintf("%g Hz (%d bps)", 2.0 * rate, rate));
}

const VkcDevice* VkcDeviceLband::GetDeviceForMode(int mode) const {
  const VkcDevice* device = mode == 0 ? lband_.load() : mode == 1 ? beacon_.load() : nullptr;
  return device ? device : this;
}

void VkcDeviceLband::AttachModePrototypes(const VkcDevice* lband, const VkcDevice* beacon) const {
  lband_.store(lband);
  beacon_.store(beacon);
}

// --- Beacon ---

uint32_t VkcDeviceBeacon::GetChannelFrequency(int channel, VkcUnitImages& system) const {
  if (channel == 0) return 0;
  const CfgNode* stations = system.Find(VkcNodes::kDealerBeaconStations);
  const int count = stations ? static_cast<int>(stations->GetChildCount()) : 0;
  if (channel > count) return 0;
  if (channel >= -3 && channel <= -1) return FactoryPreset(system, kFirstBeaconPreset + channel + 3);
  if (channel < -3) return 0;  // names no station
  return stations->ChildAt(static_cast<size_t>(channel - 1)).GetScalar();
}

int VkcDeviceBeacon::GetChannelNumber(uint32_t hz, VkcUnitImages& system) const {
  if (const CfgNode* stations = system.Find(VkcNodes::kDealerBeaconStations)) {
    for (size_t i = 0; i < stations->GetChildCount(); ++i) {
      if (stations->ChildAt(i).GetScalar() == hz) return static_cast<int>(i) + 1;
    }
  }
  for (int k = 0; k < 3; ++k) {
    if (FactoryPreset(system, kFirstBeaconPreset + k) == hz) return k - 3;
  }
  return -2;
}

void VkcDeviceBeacon::GetChannelList(VkcConfiguration& tree, std::vector<uint32_t>& out) const {
  const CfgNode& root = tree.Root();
  ReadValues(static_cast<size_t>(kStationSection) < root.GetChildCount() ? &root.ChildAt(kStationSection) : nullptr, out);
}

void VkcDeviceBeacon::GetChannelFrequencies(VkcUnitImages& system, std::vector<uint32_t>& out) const {
  ReadValues(system.Find(VkcNodes::kDealerBeaconStations), out);
}

bool VkcDeviceBeacon::SetChannelList(VkcConfiguration& tree, const std::vector<uint32_t>& list) const {
  CfgNode& section = tree.GetChild(kStationSection);
  section.Clear();
  for (uint32_t hz : list) section.AppendChild().SetInt(hz);
  return true;
}

bool VkcDeviceBeacon::SetChannelFrequencies(VkcUnitImages& system, const std::vector<uint32_t>& list) const {
  const CfgNode* old = system.Find(VkcNodes::kDealerBeaconStations);
  CfgNode rebuilt;
  for (uint32_t hz : list) {
    const CfgNode* reuse = nullptr;
    for (size_t i = 0; old && i < old->GetChildCount() && !reuse; ++i) {
      if (old->ChildAt(i).GetScalar() == hz) reuse = &old->ChildAt(i);
    }
    CfgNode& child = rebuilt.AppendChild();
    if (reuse) {
      child = *reuse;
    } else {
      child.SetInt(hz);
    }
  }
  CfgNode& target = system.At(VkcNodes::kDealerBeaconStations);
  target = std::move(rebuilt);
  return true;
}

bool VkcDeviceBeacon::HasFeature(VkcUnitImages&, int featureId) const {
  switch (featureId) {
    case 1:
    case 9:
    case 15:
    case 16:
    case 18:
    case 19:
      return true;
    default:
      return false;
  }
}

bool VkcDeviceBeacon::IsAutoScanActive() const {
  return modelrules::GlobalImages().ReadInt(VkcNodes::kBeaconAutoScan) == 1;
}

void VkcDeviceBeacon::SetAutoScanning(bool on) const {
  VkcUnitImages* system = modelrules::MutableGlobalImages();
  if (!system) return;
  system->WriteInt(VkcNodes::kBeaconAutoScan, on ? 1 : 0);
  system->WriteInt(VkcNodes::kHoppingPattern, 0);
}

bool VkcDeviceBeacon::SetChannelSpacingHz(VkcUnitImages& system, int rate) const {
  const int index = ChannelSpacingToIndex(rate);
  if (index == -1) return false;
  SetChannelSpacingIndex(system, index);
  return true;
}

int VkcDeviceBeacon::GetChannelSpacingIndex(VkcUnitImages& system, int) const {
  SetReversedSpacingOrder(false);
  return system.ReadInt(kBeaconRate);
}

void VkcDeviceBeacon::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  system.WriteInt(kBeaconRate, index);
}

void VkcDeviceBeacon::GetChannelSpacingList(std::vector<int>& out) const {
  out.clear();
  if (!IsAutoScanActive()) out.assign({200, 100, 50});
}

int VkcDeviceBeacon::ChannelSpacingToIndex(int rate) const {
  switch (rate) {
    case 100: return 0;
    case 200: return 1;
    case 50: return 2;
    default: return -1;
  }
}

int VkcDeviceBeacon::ChannelSpacingFromIndex(int index) const {
  static constexpr int kRates[] = {100, 200, 50};
  return index >= 0 && index < 3 ? kRates[index] : -1;
}

void VkcDeviceBeacon::FormatChannelSpacing(int rate, std::u16string& out) const {
  out = Utf8ToUtf16(StrPrintf("%d bps", rate));
}

uint32_t VkcDeviceBeacon::GetPresetFrequency(int index, VkcUnitImages* system) const {
  if (system && !system->Factory().IsEmpty() && index >= 0 && index <= 2) {
    return FactoryPreset(*system, kFirstBeaconPreset + index);
  }
  return GetBandFrequency(index);
}

int VkcDeviceBeacon::GetChannel(VkcUnitImages& system) const { return system.ReadInt(kBeaconChannel); }
void VkcDeviceBeacon::SetChannel(VkcUnitImages& system, int channel) const { system.WriteInt(kBeaconChannel, channel); }

// --- Aviation receiver ---

uint32_t VkcDeviceVK100RxAvia::GetChannelFrequency(int channel, VkcUnitImages&) const {
  if (channel == -4) {
    return static_cast<uint32_t>(
        modelrules::GlobalImages().ReadInt(VkcPath(kVkcD, VkcNodes::kDealerRasterChannels.steps[0], 0)));
  }
  if (channel >= -3 && channel <= -1) return GetBandFrequency(channel + 3);
  if (channel < kFirstChannel || channel >= 40000) return 0;
  const int k = (channel - 20000) % 411;
  if (k > 399) return 0;
  return 108000000u + static_cast<uint32_t>(k) * 25000u;
}

void VkcDeviceVK100RxAvia::SetChannelSpacingIndex(VkcUnitImages& system, int) const {
  system.WriteInt(VkcNodes::kUserSpacing, 0);
}
