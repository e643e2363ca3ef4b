// The base device operations that read and write the unit images: features, channel spacing,
// channel numbers and maps, the synthesizer settings, presets and the channel nodes.

#include <algorithm>
#include <cmath>
#include <mutex>

#include "devices/VkcDevice.h"
#include "devices/VkcModelRules.h"
#include "devices/VkcUnitImages.h"

namespace {

const CfgNode* ChildOrNull(const CfgNode* node, int index) {
  if (!node || index < 0 || static_cast<size_t>(index) >= node->GetChildCount()) return nullptr;
  return &node->ChildAt(static_cast<size_t>(index));
}

// Rounds halves away from zero.
double RoundHalfAway(double v) { return std::trunc(v >= 0 ? v + 0.5 : v - 0.5); }

void ReadValues(const CfgNode* list, std::vector<uint32_t>& out) {
  out.clear();
  if (!list) return;
  for (size_t i = 0; i < list->GetChildCount(); ++i) out.push_back(list->ChildAt(i).GetScalar());
}

}  // namespace

bool VkcDevice::HasFeature(VkcUnitImages& system, int featureId) const {
  switch (featureId) {
    case 0:
    case 1:
    case 3:
    case 8:
    case 17:
      return true;
    case 2: {
      const int protocol = system.ReadInt(VkcNodes::kProtocol);
      return protocol == 9 || protocol == 12 || protocol == 13 || protocol == 14 || protocol == 15;
    }
    case 10:
      return FirmwareInRange(system, {1, 9, 0}, {2, 0, 0}) || FirmwareInRange(system, {3, 0, 0}, {3, 2, 0});
    case 11:
      return system.ReadInt(VkcNodes::kProtocol) == 3 && FirmwareInRange(system, {3, 0, 0}, {3, 2, 0});
    case 4:
    case 5:
    case 6:
    case 7:
    case 9:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 18:
    case 19:
      return false;
    default:
      return true;
  }
}

bool VkcDevice::IsTransmitterProtocol(VkcUnitImages& system, bool fromImages, platform::Event* stop) const {
  const int protocol = fromImages ? system.ReadInt(VkcNodes::kProtocol) : system.GetProtocol(stop);
  return protocol == 2 || protocol == 4 || protocol == 8 || protocol == 13 || protocol == 15;
}

void VkcDevice::GetModulationsForCurrentProtocol(VkcUnitImages& system, std::vector<int>& out) const {
  GetModulationsForProtocol(system.ReadInt(VkcNodes::kProtocol), out);
}

bool VkcDevice::IsAutoScanActive() const {
  VkcUnitImages* system = GlobalUnitImages();
  if (!system || GetChannel(*system) != 0) return false;
  return HasFeature(*system, 1);
}

void VkcDevice::SetAutoScanning(bool on) const {
  VkcUnitImages* system = GlobalUnitImages();
  if (!on || !system) return;
  SetChannel(*system, 0);
  SetRxChannel(*system, 0);
  system->WriteInt(VkcNodes::kHoppingPattern, 0);
}

// --- Channel spacing ---

int VkcDevice::ReadSpacingIndex(VkcUnitImages& system, Version userFrom) const {
  SetReversedSpacingOrder(true);
  if (SpacingOnlyInDealerImage(system, userFrom)) return system.ReadInt(VkcNodes::kDealerSpacing);
  if (system.HasValue(VkcNodes::kUserSpacing)) {
    SetReversedSpacingOrder(false);
    return system.ReadInt(VkcNodes::kUserSpacing);
  }
  return system.ReadInt(VkcNodes::kDealerSpacing);
}

void VkcDevice::WriteSpacingIndex(VkcUnitImages& system, Version userFrom, int index) {
  const bool userImageHoldsIt = system.HasValue(VkcNodes::kUserSpacing) && !SpacingOnlyInDealerImage(system, userFrom);
  system.WriteInt(userImageHoldsIt ? VkcNodes::kUserSpacing : VkcNodes::kDealerSpacing, index);
}

int VkcDevice::GetChannelSpacingIndex(VkcUnitImages& system, int) const { return ReadSpacingIndex(system, {1, 6, 18}); }

void VkcDevice::SetChannelSpacingIndex(VkcUnitImages& system, int index) const {
  WriteSpacingIndex(system, {1, 6, 18}, index);
}

int VkcDevice::GetChannelSpacingHz(VkcUnitImages& system) const {
  std::lock_guard guard(lock_);  // the index read sets the order the conversion uses
  return ChannelSpacingFromIndex(GetChannelSpacingIndex(system, -1));
}

bool VkcDevice::SetChannelSpacingHz(VkcUnitImages& system, int hz) const {
  std::vector<int> list;
  GetChannelSpacingList(list);
  if (std::find(list.begin(), list.end(), hz) == list.end()) return false;
  std::lock_guard guard(lock_);
  // Read the index first so the order flag matches where the index is stored; converting with a
  // stale flag writes 25000 and 6250 swapped.
  GetChannelSpacingIndex(system, -1);
  SetChannelSpacingIndex(system, ChannelSpacingToIndex(hz));
  return true;
}

// --- Synthesizer ---

CfgNode VkcDevice::CalcSynthesizerSettings(uint32_t hz) const { return SynthesizeChannel(hz, GetReferenceClockHz()); }

CfgNode VkcDevice::SynthesizeChannel(uint32_t hz, uint32_t referenceClockHz) const {
  CfgNode node;
  node.SetInt(hz);
  if (hz == 0 || referenceClockHz == 0) return node;  // no divider reaches the VCO range
  const double f = hz;
  const double c = referenceClockHz;
  // The smallest divider k with v = 2f / (c / k) >= 37.5. v grows with k, so start a little below
  // the answer rather than counting up from 1 (a low frequency would take millions of steps).
  double start = std::floor(37.5 * c / (2.0 * f)) - 2.0;
  uint32_t k = start > 1.0 ? static_cast<uint32_t>(start) - 1 : 0;
  double v = 0;
  while (v < 37.5) {
    ++k;
    v = 2.0 * f / (c / k);
  }
  const double integer = RoundHalfAway(v) - 32.0;
  double fraction = v - integer - 32.0;
  if (fraction < 0) fraction += 1.0;
  const uint32_t word = static_cast<uint32_t>(RoundHalfAway(fraction * 262144.0));
  node.GetChildAt(0).SetInt(k - 1);
  node.GetChildAt(3).SetInt(static_cast<uint32_t>(static_cast<int32_t>(integer)));
  node.GetChildAt(4).SetInt((word & 0x3FF00) >> 8);
  node.GetChildAt(5).SetInt(word & 0xFF);
  return node;
}

// --- Channel numbers and maps ---

uint32_t VkcDevice::GetChannelFrequency(int channel, VkcUnitImages& system) const {
  if (channel == 0) return 0;
  if (const CfgNode* factory = system.Find(VkcNodes::kFactoryChannels)) {
    for (size_t i = 0; i < factory->GetChildCount(); ++i) {
      const CfgNode* number = ChildOrNull(&factory->ChildAt(i), VkcNodes::kFactoryChannelNumberChild);
      if (number && number->GetInt() == channel) return factory->ChildAt(i).GetScalar();
    }
  }
  // Negative numbers (the beacon presets) are not positions in the dealer map.
  if (channel < 1) return 0;
  const CfgNode* row = ChildOrNull(system.Find(VkcNodes::kDealerChannels), channel - 1);
  return row ? row->GetScalar() : 0;
}

int VkcDevice::GetChannelNumber(uint32_t hz, VkcUnitImages& system) const {
  if (const CfgNode* dealer = system.Find(VkcNodes::kDealerChannels)) {
    for (size_t i = 0; i < dealer->GetChildCount(); ++i) {
      if (dealer->ChildAt(i).GetScalar() == hz) return static_cast<int>(i) + 1;
    }
  }
  if (const CfgNode* factory = system.Find(VkcNodes::kFactoryChannels)) {
    for (size_t i = 0; i < factory->GetChildCount(); ++i) {
      if (factory->ChildAt(i).GetScalar() != hz) continue;
      const CfgNode* number = ChildOrNull(&factory->ChildAt(i), VkcNodes::kFactoryChannelNumberChild);
      return number ? number->GetInt() : 0;
    }
  }
  return 0;
}

void VkcDevice::GetChannelList(VkcConfiguration& tree, std::vector<uint32_t>& out) const {
  ReadValues(ChildOrNull(&tree.Root(), 4), out);
}

void VkcDevice::GetChannelFrequencies(VkcUnitImages& system, std::vector<uint32_t>& out) const {
  ReadValues(system.Find(VkcNodes::kDealerChannels), out);
}

bool VkcDevice::SetChannelList(VkcConfiguration& tree, const std::vector<uint32_t>& list) const {
  CfgNode& channels = tree.GetChild(4);
  channels.Clear();
  for (size_t i = 0; i < list.size(); ++i) channels.GetChildAt(static_cast<std::ptrdiff_t>(i)) = CalcSynthesizerSettings(list[i]);
  return true;
}

bool VkcDevice::SetChannelFrequencies(VkcUnitImages& system, const std::vector<uint32_t>& list) const {
  const CfgNode* old = system.Find(VkcNodes::kDealerChannels);
  CfgNode rebuilt;
  for (uint32_t hz : list) {
    const CfgNode* reuse = nullptr;
    for (size_t i = 0; old && i < old->GetChildCount() && !reuse; ++i) {
      if (old->ChildAt(i).GetScalar() == hz) reuse = &old->ChildAt(i);
    }
    rebuilt.AppendChild() = reuse ? *reuse : CalcSynthesizerSettings(hz);
  }
  CfgNode& target = system.At(VkcNodes::kDealerChannels);
  target.Clear();
  target = std::move(rebuilt);
  return true;
}

int VkcDevice::GetStoredPortRateIndex(VkcConfiguration& tree, int row) const {
  const CfgNode* node = ChildOrNull(ChildOrNull(ChildOrNull(ChildOrNull(&tree.Root(), 1), row), 4), 0);
  return modelrules::OneBelow(node ? node->GetInt() : 0);
}

uint32_t VkcDevice::GetPresetFrequency(int index, VkcUnitImages* system) const {
  if (system && !system->Factory().IsEmpty()) {
    if (const CfgNode* row = ChildOrNull(system->Find(VkcNodes::kFactoryChannels), index)) return row->GetScalar();
  }
  return GetBandFrequency(index);
}

int VkcDevice::GetChannel(VkcUnitImages& system) const { return system.ReadInt(VkcNodes::kChannel); }
int VkcDevice::GetRxChannel(VkcUnitImages& system) const { return system.ReadInt(VkcNodes::kRxChannel); }
void VkcDevice::SetChannel(VkcUnitImages& system, int channel) const { system.WriteInt(VkcNodes::kChannel, channel); }
void VkcDevice::SetRxChannel(VkcUnitImages& system, int channel) const {
  system.WriteInt(VkcNodes::kRxChannel, channel);
}
