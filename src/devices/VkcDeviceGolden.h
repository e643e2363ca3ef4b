#pragma once
// The Golden reference units: channels on a 6250 Hz raster from the factory preset DFCFG[4][0].

#include <cstdint>

class VkcUnitImages;

namespace golden {

uint32_t ChannelFrequency(int channel, const VkcUnitImages& system);
// A frequency below the lowest preset (or above the highest) has no channel: 0.
int ChannelNumber(uint32_t hz, const VkcUnitImages& system);

}  // namespace golden
