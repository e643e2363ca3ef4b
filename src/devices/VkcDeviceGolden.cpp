#include "devices/VkcDeviceGolden.h"

#include <cstdint>

#include "devices/VkcUnitImages.h"

namespace golden {

namespace {

constexpr int64_t kRasterHz = 6250;

uint32_t Preset(const VkcUnitImages& system, int index) {
  return static_cast<uint32_t>(system.ReadInt(VkcPath(kVkcF, VkcNodes::kFactoryChannels.steps[0], index)));
}

}  // namespace

uint32_t ChannelFrequency(int channel, const VkcUnitImages& system) {
  if (channel == 0) return 0;
  const int64_t hz = (static_cast<int64_t>(channel) - 1) * kRasterHz + Preset(system, 0);
  return hz < 0 || hz > UINT32_MAX ? 0 : static_cast<uint32_t>(hz);
}

int ChannelNumber(uint32_t hz, const VkcUnitImages& system) {
  if (const CfgNode* factory = system.Find(VkcNodes::kFactoryChannels)) {
    for (size_t i = 0; i < factory->GetChildCount(); ++i) {
      const CfgNode& row = factory->ChildAt(i);
      if (row.GetScalar() != hz) continue;
      const int numberChild = VkcNodes::kFactoryChannelNumberChild;
      return static_cast<size_t>(numberChild) < row.GetChildCount() ? row.ChildAt(numberChild).GetInt() : 0;
    }
  }
  if (hz > Preset(system, 2)) return 0;
  const uint32_t low = Preset(system, 0);
  if (hz < low) return 0;
  return static_cast<int>((static_cast<int64_t>(hz) - low) / kRasterHz + 1);
}

}  // namespace golden
