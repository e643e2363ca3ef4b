#include "link/WaitWithProgress.h"

#include <cmath>

#include "platform/Timing.h"

uint32_t WaitWithProgress(int startPercent, int endPercent, int steps, uint32_t totalMs,
                          platform::WindowHandle window, std::span<platform::Event* const> events) {
  if (steps < 1) steps = 1;
  const uint32_t slice = platform::Scaled(totalMs / static_cast<uint32_t>(steps));
  const double increment = (static_cast<double>(endPercent) - startPercent) / steps;
  double progress = startPercent;

  // Without events every slice simply times out.
  platform::Event never;
  platform::Event* const none[] = {&never};
  if (events.empty()) events = none;

  uint32_t result = platform::kWaitTimeout;
  for (int i = 0; i < steps; ++i) {
    result = platform::Event::WaitAny(events, slice);
    if (result != platform::kWaitTimeout) break;
    progress += increment;
    if (window) platform::PostMessage(window, kMsgProgress, kProgressPercent, std::lround(progress));
  }
  if (window) platform::PostMessage(window, kMsgProgress, kProgressPercent, endPercent);
  return result;
}
