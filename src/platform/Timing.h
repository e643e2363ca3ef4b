#pragma once
// Time as the program reads it. Every time-out and fixed pause of the program passes through
// Scaled(), so tests can shrink them all at once; wall time is read through an injectable clock.
// End-to-end tests that test timing keep the scale at 1.

#include <cstdint>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on a monotonic scale (the origin is arbitrary).
  virtual uint64_t NowMs() = 0;
  // Microseconds on the same scale, for rate measurements.
  virtual uint64_t NowUs() = 0;
};

// The clock in use: the steady system clock unless a test installed another.
Clock& GetClock();
// Installs a clock (nullptr restores the system clock). The clock must outlive its use.
void SetClock(Clock* clock);

inline uint64_t NowMs() { return GetClock().NowMs(); }
inline uint64_t NowUs() { return GetClock().NowUs(); }

// A nominal time-out or pause in milliseconds, scaled for the current run. kInfinite stays infinite;
// a non-zero value never scales down to 0.
uint32_t Scaled(uint32_t ms);
void SetTimeScale(double factor);
double GetTimeScale();

// Pauses that must end when the stop event is set are Event::Wait(stop, Scaled(ms)); this is for
// the few pauses that watch no event (test peers, short settling pauses of at most a few ms).
void SleepMs(uint32_t ms);

}  // namespace platform
