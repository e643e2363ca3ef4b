#include "devices/VkcRasterChannels.h"

#include "devices/VkcDevice.h"
#include "devices/VkcUnitImages.h"
#include "link/VkcConfiguration.h"

namespace raster {

namespace {

constexpr int64_t kRasterHz = 6250;
constexpr int kSection = 5;

// (n - 1) * 6250 + base, or 0 when that is no frequency (channel numbers start at 1).
uint32_t FromNumber(int64_t n, uint32_t base) {
  const int64_t hz = (n - 1) * kRasterHz + base;
  return hz < 0 || hz > UINT32_MAX ? 0 : static_cast<uint32_t>(hz);
}

void MapNumbers(const CfgNode* numbers, uint32_t base, std::vector<uint32_t>& out) {
  out.clear();
  if (!numbers) return;
  for (size_t i = 0; i < numbers->GetChildCount(); ++i) out.push_back(FromNumber(numbers->ChildAt(i).GetInt(), base));
}

uint32_t LowestPreset(const VkcUnitImages& system) {
  return static_cast<uint32_t>(system.ReadInt(VkcPath(kVkcF, VkcNodes::kFactoryChannels.steps[0], 0)));
}

}  // namespace

uint32_t ChannelFrequency(int channel, const VkcUnitImages& system) {
  if (channel == 0) return 0;
  if (const CfgNode* factory = system.Find(VkcNodes::kFactoryChannels)) {
    for (size_t i = 0; i < factory->GetChildCount(); ++i) {
      const CfgNode& row = factory->ChildAt(i);
      const size_t numberChild = VkcNodes::kFactoryChannelNumberChild;
      if (numberChild < row.GetChildCount() && row.ChildAt(numberChild).GetInt() == channel) return row.GetScalar();
    }
  }
  return FromNumber(channel, LowestPreset(system));
}

int ChannelNumber(const VkcDevice& device, uint32_t hz, VkcUnitImages* system) {
  const uint32_t low = device.GetPresetFrequency(0, system);
  const uint32_t high = device.GetPresetFrequency(2, system);
  if (hz > high || hz < low) return 0;
  return static_cast<int>((static_cast<int64_t>(hz) - low) / kRasterHz + 1);
}

void GetChannelList(const VkcDevice& device, VkcConfiguration& tree, std::vector<uint32_t>& out) {
  const CfgNode& root = tree.Root();
  MapNumbers(static_cast<size_t>(kSection) < root.GetChildCount() ? &root.ChildAt(kSection) : nullptr,
             device.GetPresetFrequency(0, nullptr), out);
}

void GetChannelFrequencies(const VkcUnitImages& system, std::vector<uint32_t>& out) {
  MapNumbers(system.Find(VkcNodes::kDealerRasterChannels), LowestPreset(system), out);
}

void SetChannelList(const VkcDevice& device, VkcConfiguration& tree, const std::vector<uint32_t>& list) {
  CfgNode rebuilt;
  for (uint32_t hz : list) rebuilt.AppendChild().SetInt(static_cast<uint32_t>(ChannelNumber(device, hz, nullptr)));
  CfgNode& section = tree.GetChild(kSection);
  section.Clear();
  for (size_t i = 0; i < rebuilt.GetChildCount(); ++i) section.AppendChild() = rebuilt.ChildAt(i);
}

void SetChannelFrequencies(const VkcDevice& device, VkcUnitImages& system, const std::vector<uint32_t>& list) {
  std::vector<int> numbers;
  for (uint32_t hz : list) numbers.push_back(ChannelNumber(device, hz, &system));
  CfgNode& section = system.At(VkcNodes::kDealerRasterChannels);
  section.Clear();
  for (int n : numbers) section.AppendChild().SetInt(static_cast<uint32_t>(n));
}

}  // namespace raster
