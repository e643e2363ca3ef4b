// Synthesizer words of the VK400Rx line: the search for 1,000 frequencies spread over the UHF band
// (403 to 470 MHz on the 6250 Hz raster) against the exact-settings table lookup of the same
// frequencies. Prints both times and the ratio search/table last.

#include <cstdio>
#include <vector>

#include "devices/VkcFrequencyCalculator.h"
#include "platform/Event.h"
#include "platform/Timing.h"

int main() {
  constexpr int kCount = 1000;
  constexpr uint32_t kLow = 403000000;
  constexpr uint32_t kHigh = 470000000;
  std::vector<uint32_t> targets;
  for (int i = 0; i < kCount; ++i) {
    const uint32_t raw = kLow + static_cast<uint32_t>(static_cast<uint64_t>(kHigh - kLow) * i / kCount);
    targets.push_back(raw - raw % 6250);
  }
  platform::Event stop;

  uint64_t found = 0;
  const uint64_t searchStart = platform::NowUs();
  for (uint32_t t : targets) {
    VkcFrequencyCalculator calc;
    calc.SetTargetFrequency(t);
    if (calc.Process(0, 0, 0, stop) == 0) ++found;
  }
  const uint64_t searchUs = platform::NowUs() - searchStart;

  // The lookup is fast; repeat it so the clock resolves it.
  constexpr int kTableRounds = 1000;
  uint64_t hits = 0;
  const uint64_t tableStart = platform::NowUs();
  for (int round = 0; round < kTableRounds; ++round) {
    for (uint32_t t : targets) {
      if (VkcFrequencyCalculator::FindExact(t) != nullptr) ++hits;
    }
  }
  const double tableUs = static_cast<double>(platform::NowUs() - tableStart) / kTableRounds;

  std::printf("search: %d frequencies in %.3f ms (%.1f us each, %llu found)\n", kCount, searchUs / 1000.0,
              static_cast<double>(searchUs) / kCount, static_cast<unsigned long long>(found));
  std::printf("table lookup: %d frequencies in %.3f us (%llu rows hit per round)\n", kCount, tableUs,
              static_cast<unsigned long long>(hits / kTableRounds));
  std::printf("ratio search/table: %.1f\n", tableUs > 0 ? static_cast<double>(searchUs) / tableUs : 0.0);
  return 0;
}
