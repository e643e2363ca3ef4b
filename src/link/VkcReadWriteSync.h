#pragma once
// A shared counter with an auto-reset event that signals its changes between two threads.

#include <atomic>
#include <cstdint>

#include "platform/Event.h"

struct VkcReadWriteSync {
  std::atomic<int32_t> value{0};
  platform::Event event{platform::Event::ResetMode::Auto, false};
};
