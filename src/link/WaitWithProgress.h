#pragma once
// A wait on events that drives a progress bar while it waits.

#include <cstdint>
#include <initializer_list>
#include <span>

#include "link/VkcMessageIds.h"
#include "platform/Event.h"
#include "platform/Messages.h"

// Waits for any of the events in steps slices of totalMs / steps milliseconds (steps below 1
// count as 1). After each slice that times out the progress grows by (endPercent -
// startPercent) / steps and, with a window, 2024/2 with the rounded value is posted. Ends when an
// event is signalled or every slice has passed; then, with a window, 2024/2 with endPercent.
// Returns the index of the signalled event or platform::kWaitTimeout.
uint32_t WaitWithProgress(int startPercent, int endPercent, int steps, uint32_t totalMs,
                          platform::WindowHandle window, std::span<platform::Event* const> events);
inline uint32_t WaitWithProgress(int startPercent, int endPercent, int steps, uint32_t totalMs,
                                 platform::WindowHandle window, std::initializer_list<platform::Event*> events) {
  return WaitWithProgress(startPercent, endPercent, steps, totalMs, window,
                          std::span<platform::Event* const>(events.begin(), events.size()));
}
