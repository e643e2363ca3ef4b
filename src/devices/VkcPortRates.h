#pragma once
// The unit's serial rates by port rate index: 0..8 for 1200 .. 115200 bit/s. Commands carry the
// index plus 1; values read back are decreased by 1.

#include <cstdint>

inline constexpr int kPortRateCount = 9;
inline constexpr uint32_t kPortRates[kPortRateCount] = {1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200};
inline constexpr int kFastestPortRateIndex = kPortRateCount - 1;

// The rate of an index, or 0 when the index is out of range.
inline constexpr uint32_t PortRateFromIndex(int index) {
  return index >= 0 && index < kPortRateCount ? kPortRates[index] : 0;
}
// The index of a rate, or -1 when it is none of the unit's rates.
inline constexpr int PortRateToIndex(uint32_t rate) {
  for (int i = 0; i < kPortRateCount; ++i) {
    if (kPortRates[i] == rate) return i;
  }
  return -1;
}
