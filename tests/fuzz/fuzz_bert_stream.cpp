// A received BERT stream: the checker must take any bytes, in any pieces, without running away,
// and count every byte it was given. The first byte picks the piece size; the stream is fed once
// as it is and once after a clean synchronising run of pattern.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "unit/BertPattern.h"
#include "unit/VkcBERT.h"
#include "unit/VkcSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = 1 + data[0] % 128;
  ++data, --size;
  static VkcSystem system;
  for (int round = 0; round < 2; ++round) {
    VkcBERT engine(system);
    uint64_t fed = 0;
    if (round == 1) {
      BertPattern pattern;
      std::vector<uint8_t> lead(64);
      pattern.Generate(lead.data(), lead.size());
      engine.OnDataReceived(lead.data(), lead.size(), nullptr);
      fed += lead.size();
    }
    for (size_t at = 0; at < size; at += piece) {
      size_t n = size - at < piece ? size - at : piece;
      engine.OnDataReceived(data + at, n, nullptr);
      fed += n;
    }
    BertStatistics s = engine.GetStatistics();
    if (s.bytesReceived != fed || s.bitsReceived != 8 * fed || s.bitErrors > 8 * fed) std::abort();
  }
  return 0;
}
