#pragma once
// Rules shared by the model classes: the application's unit for the operations that use it
// directly, the firmware comparisons the version type offers beside the device's own helpers, the
// band tables, and reads of per-channel nodes that never create a node.

#include <array>
#include <cstdint>

#include "devices/VkcImageNodes.h"

class VkcUnitImages;
class FirmwareVersion;

namespace modelrules {

// The dealer channel map holds at most this many rows; a per-channel write beyond it is refused.
inline constexpr int kMaxDealerChannels = 32;

// The application's unit, or an empty stand-in (no firmware, empty images) before there is one.
// Writers check HasGlobalImages first: the stand-in is never written.
const VkcUnitImages& GlobalImages();
VkcUnitImages* MutableGlobalImages();

// fw > v and fw == v, with the version type's ordering rules.
bool FirmwareAbove(const VkcUnitImages& system, int major, int minor, int build);
bool FirmwareIs(const VkcUnitImages& system, int major, int minor, int build);

using Band = std::array<uint32_t, 3>;
inline constexpr Band kUhfBand = {403000000, 440000000, 470000000};
inline constexpr Band kUhfBtBand = {406000000, 440000000, 470000000};
inline constexpr Band kUhf410Band = {410000000, 440000000, 470000000};
inline constexpr Band kVhfBand = {138000000, 155000000, 174000000};
inline constexpr Band kVhf150Band = {138000000, 150000000, 174000000};
// 0 lowest, 1 middle, 2 highest; any other index 0.
inline uint32_t BandFrequency(const Band& band, int which) {
  return which >= 0 && which < 3 ? band[static_cast<size_t>(which)] : 0;
}

// DDCFG[4][channel][child]: 0 when the row or the child is absent; never creates a node.
int32_t ReadDealerChannel(const VkcUnitImages& system, int channel, int child);
// Writes DDCFG[4][channel][child] of a row the map has; false (nothing written, and the error
// log says so) for a channel past the map or past kMaxDealerChannels: a write never creates rows.
bool WriteDealerChannel(VkcUnitImages& system, int channel, int child, int32_t value);
// v - 1 for a number that came from an image or a file; -1 where that would overflow.
inline int32_t OneBelow(int32_t v) { return v == INT32_MIN ? -1 : v - 1; }

}  // namespace modelrules
