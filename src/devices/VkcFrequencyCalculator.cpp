// The synthesizer search of the VK400Rx receiver line.

#include "devices/VkcFrequencyCalculator.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "link/Format.h"
#include "link/VkcMessageIds.h"

namespace {

std::mutex g_runnerLock;
VkcFrequencyCalculator::Runner g_runner;

}  // namespace

uint32_t VkcFrequencyCalculator::Process(uint32_t, intptr_t, platform::WindowHandle notify, platform::Event&) {
  const double target = target_;
  const double twiceTarget = 2.0 * target;
  uint32_t best = 4294967295u;
  uint32_t result = 1;
  constexpr uint32_t kSteps = kMaxR - kMinR + 1;
  for (uint32_t r = kMinR; r <= kMaxR; ++r) {
    if (notify) {
      platform::PostMessage(notify, kMsgProgress, kProgressPercent, static_cast<intptr_t>((r - kMinR) * 100 / kSteps));
    }
    // Only M = 16 * N + A within the window can pass the test below. Visiting just the N whose
    // M range meets the window (with a margin against rounding) meets the passing candidates in
    // the same order as the full sweep, so the outcome is the same, at a tiny fraction of the cost.
    const double perM = static_cast<double>(kReferenceHz) / r;
    const double mLow = std::floor((twiceTarget - kWindowHz) / perM) - 2.0;
    const double mHigh = std::ceil((twiceTarget + kWindowHz) / perM) + 2.0;
    if (mHigh < 0.0) continue;
    const double nLowD = std::floor((mLow - kMaxA) / 16.0);
    const double nHighD = std::ceil(mHigh / 16.0);
    if (nLowD > kMaxN) continue;
    const uint32_t nLow = nLowD < 0.0 ? 0u : static_cast<uint32_t>(nLowD);
    const uint32_t nHigh = nHighD > kMaxN ? kMaxN : static_cast<uint32_t>(nHighD);
    for (uint32_t n = nLow; n <= nHigh; ++n) {
      for (uint32_t a = 0; a <= kMaxA; ++a) {
        const uint32_t m = 16 * n + a;
        if (m == 0) continue;
        const double f = m * static_cast<double>(kReferenceHz) / r;
        if (!(std::fabs(twiceTarget - f) < kWindowHz)) continue;
        const double d = std::fabs(f / 2.0 - target);
        if (!Replaces(best, d)) continue;
        best = static_cast<uint32_t>(d);
        achieved_ = f / 2.0;
        r_ = r;
        a_ = a;
        n_ = n;
        result = 0;
      }
    }
  }
  return result;
}

std::span<const VkcSynthRow> VkcFrequencyCalculator::ExactTable() {
  // The rows of the exact-settings table that are known; every other frequency is searched.
  static constexpr VkcSynthRow kRows[] = {
      {403456250.0, 30, 2830, 690, 0},
      {403750000.0, 22, 5034, 1226, 0},
      {469737500.0, 29, 6903, 1445, 0},
  };
  return kRows;
}

const VkcSynthRow* VkcFrequencyCalculator::FindExact(uint32_t hz) {
  for (const VkcSynthRow& row : ExactTable()) {
    if (static_cast<uint32_t>(row.hz) == hz) return &row;
  }
  return nullptr;
}

std::string VkcFrequencyCalculator::Caption(uint32_t hz) {
  return StrPrintf("Calculating %10.6lf MHz", hz / 1000000.0);
}

void VkcFrequencyCalculator::SetRunner(Runner runner) {
  std::lock_guard<std::mutex> g(g_runnerLock);
  g_runner = std::move(runner);
}

bool VkcFrequencyCalculator::Run(VkcFrequencyCalculator& calculator) {
  Runner runner;
  {
    std::lock_guard<std::mutex> g(g_runnerLock);
    runner = g_runner;
  }
  if (runner) return runner(calculator);
  platform::Event stop(platform::Event::ResetMode::Manual, false);
  return calculator.Process(0, 0, 0, stop) == 0;
}
