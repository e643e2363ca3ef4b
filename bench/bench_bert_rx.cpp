// BERT receive processing: 10 MB of pattern with bit errors at a rate of 1e-4, error bursts and
// 8 KiB gaps (resynchronisation included), handed to the engine in the serial reader's 100-byte
// pieces. Also the checker's worst case, 10 good bytes then 8 bad ones over and over. Prints the
// processing rate against the 115200 bit/s line, ratio last (target at least 100).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "sim/SimBertPattern.h"
#include "unit/VkcBERT.h"
#include "unit/VkcSystem.h"

namespace {

constexpr size_t kBytes = 10u * 1000u * 1000u;
constexpr size_t kPiece = 100;
constexpr double kLineBits = 115200.0;

std::string ImpairedStream(uint32_t seed) {
  sim::SimBertPattern pattern;
  std::string clean = pattern.Next(kBytes + kBytes / 20);
  std::mt19937 rng(seed);
  std::string out;
  out.reserve(kBytes);
  std::geometric_distribution<size_t> nextFlip(1e-4);
  size_t flipAt = nextFlip(rng);
  for (size_t at = 0; out.size() < kBytes && at < clean.size(); ++at) {
    if (at % 200000 == 100000) at += 8192;  // a gap of 8 KiB: not whole jumps, so sync is lost
    char c = clean[at];
    if (at % 65536 == 30000) {
      for (int i = 0; i < 12; ++i) out.push_back(static_cast<char>(rng()));  // a noise burst
    }
    for (int bit = 0; bit < 8; ++bit) {
      if (flipAt == 0) {
        c = static_cast<char>(c ^ (1 << bit));
        flipAt = nextFlip(rng);
      } else {
        --flipAt;
      }
    }
    out.push_back(c);
  }
  out.resize(std::min(out.size(), kBytes));
  return out;
}

std::string WorstCase() {
  sim::SimBertPattern pattern;
  std::string out;
  out.reserve(kBytes);
  std::mt19937 rng(3);
  while (out.size() < kBytes) {
    out += pattern.Next(10);
    std::string bad = pattern.Next(8);
    for (char& c : bad) c = static_cast<char>(c ^ (1 + rng() % 255));
    out += bad;
  }
  return out;
}

// Seconds to process the stream; the statistics are printed.
double Process(const std::string& stream, const char* name) {
  VkcSystem system;
  VkcBERT engine(system);
  auto start = std::chrono::steady_clock::now();
  for (size_t at = 0; at < stream.size(); at += kPiece) {
    size_t n = std::min(kPiece, stream.size() - at);
    engine.OnDataReceived(reinterpret_cast<const uint8_t*>(stream.data()) + at, n, nullptr);
  }
  double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  BertStatistics st = engine.GetStatistics();
  std::printf("%-28s %6.1f MB in %7.3f s  %8.1f Mbit/s  errors %llu  lost %llu  BER %.2e\n", name,
              static_cast<double>(stream.size()) / 1e6, s, static_cast<double>(stream.size()) * 8 / s / 1e6,
              static_cast<unsigned long long>(st.bitErrors), static_cast<unsigned long long>(st.lostCount),
              static_cast<double>(st.bitErrors) / static_cast<double>(st.bitsReceived));
  return s;
}

}  // namespace

int main() {
  std::string impaired = ImpairedStream(2026);
  std::string worst = WorstCase();
  double best = 1e9, worstBest = 1e9;
  for (int run = 0; run < 3; ++run) {
    best = std::min(best, Process(impaired, "1e-4, bursts, 8 KiB gaps"));
    worstBest = std::min(worstBest, Process(worst, "10 good / 8 bad bytes"));
  }
  double bits = static_cast<double>(impaired.size()) * 8;
  std::printf("worst case against the line: %.0f\n", static_cast<double>(worst.size()) * 8 / worstBest / kLineBits);
  std::printf("ratio receive processing / 115200 bit/s line: %.0f (target at least 100)\n", bits / best / kLineBits);
  return 0;
}
