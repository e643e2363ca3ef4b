#pragma once
// The raster channel map: channel n (from 1) stands for (n - 1) * 6250 Hz above the lowest preset,
// and the dealer keeps the map as channel numbers in section 5 instead of frequencies in section 4.

#include <cstdint>
#include <vector>

class VkcConfiguration;
class VkcDevice;
class VkcUnitImages;

namespace raster {

uint32_t ChannelFrequency(int channel, const VkcUnitImages& system);
// system may be null: the presets are then the device's band frequencies. Off-raster frequencies
// round down; a frequency outside the presets has no channel (0).
int ChannelNumber(const VkcDevice& device, uint32_t hz, VkcUnitImages* system);
void GetChannelList(const VkcDevice& device, VkcConfiguration& tree, std::vector<uint32_t>& out);
void GetChannelFrequencies(const VkcUnitImages& system, std::vector<uint32_t>& out);
void SetChannelList(const VkcDevice& device, VkcConfiguration& tree, const std::vector<uint32_t>& list);
void SetChannelFrequencies(const VkcDevice& device, VkcUnitImages& system, const std::vector<uint32_t>& list);

}  // namespace raster
