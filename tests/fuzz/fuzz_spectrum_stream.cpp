// The spectrum analyser's sample stream as the port delivers it: the first byte picks the read
// sizes, the rest is cut into reads of those sizes and fed to the reader, whose samples go into a
// ring of a few points (so it wraps), which is then copied out as the page draws it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "unit/SpectrumSampleStream.h"
#include "unit/SpectrumScanData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t chunk = 1 + data[0] % 100;
  SpectrumScanData scan;
  scan.SetParameters(283500, 283500 + 100u * (1 + data[0] % 7), 100, 320);
  if (!scan.Allocate()) return 0;
  SpectrumSampleStream stream;
  size_t points = 0;
  for (size_t at = 1; at < size; at += chunk) {
    stream.Feed(data + at, std::min(chunk, size - at), [&](double f, double l) {
      scan.AddPoint(f, l);
      ++points;
    });
  }
  std::vector<double> f, l;
  scan.CopyPoints(f, l);
  if (f.size() != scan.GetCount() || l.size() != f.size() || stream.PendingBytes() > SpectrumSampleStream::kMaxLine)
    __builtin_trap();
  if (points > 0 && scan.GetWriteIndex() == 0) __builtin_trap();
  return 0;
}
