#pragma once
// Moves bytes from a descriptor to a callback on a thread of its own (as a port's receive thread
// would), and writes whole buffers to a descriptor. Used to join test peers to the links under test.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/Event.h"
#include "platform/WorkerThread.h"

namespace sim {

class SimXmodPump {
 public:
  using Sink = std::function<void(const uint8_t* data, size_t length)>;
  SimXmodPump() = default;
  ~SimXmodPump() { Stop(); }
  // Reads fd until Stop or end of file; every chunk goes to sink.
  bool Start(int fd, Sink sink);
  void Stop();
  // Set when the descriptor reached its end or failed.
  platform::Event& Ended() { return ended_; }

  // Writes all bytes to a (possibly non-blocking) descriptor, waiting for room up to ms.
  static bool WriteAll(int fd, const uint8_t* data, size_t length, int ms = 10000);

 private:
  int fd_ = -1;
  Sink sink_;
  platform::Event ended_{platform::Event::ResetMode::Manual, false};
  platform::WorkerThread thread_;
};

}  // namespace sim
