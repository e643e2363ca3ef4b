#include "platform/Timing.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "platform/Event.h"

namespace platform {

namespace {
class SteadyClock : public Clock {
 public:
  uint64_t NowMs() override {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
  }
  uint64_t NowUs() override {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
  }
};

SteadyClock g_steady;
std::atomic<Clock*> g_clock{&g_steady};
std::atomic<double> g_scale{1.0};
}  // namespace

Clock& GetClock() { return *g_clock.load(); }

void SetClock(Clock* clock) { g_clock.store(clock ? clock : &g_steady); }

uint32_t Scaled(uint32_t ms) {
  if (ms == kInfinite || ms == 0) return ms;
  double s = g_scale.load();
  if (s == 1.0) return ms;
  double v = std::ceil(static_cast<double>(ms) * s);
  if (v < 1.0) return 1;
  if (v >= static_cast<double>(kInfinite)) return kInfinite - 1;
  return static_cast<uint32_t>(v);
}

void SetTimeScale(double factor) { g_scale.store(factor > 0 ? factor : 1.0); }

double GetTimeScale() { return g_scale.load(); }

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace platform
