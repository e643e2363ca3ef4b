#pragma once
// One command exchange of the device model on a fresh command channel: the channel is built on the
// port for the exchange and removed after it, as every exchange of the device model does.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

class VkcComPort;
namespace platform {
class Event;
}

struct VkcExchange {
  enum Match { kAny = 0, kInOrder = 1, kAnyOrder = 2 };

  const char* command = nullptr;   // null: only wait
  bool echo = true;                // the unit echoes the command
  bool raw = false;                // sent exactly as given
  uint32_t timeoutMs = 0;          // nominal
  platform::Event* extra = nullptr;
  Match match = kAny;
  size_t replySize = 100;          // the reply handed back holds at most replySize - 1 bytes
  std::string reply;
  bool cut = false;                // the unit's reply was longer than reply holds

  // True when the expected replies arrived in time (and before the extra event).
  bool Run(VkcComPort* port, std::initializer_list<const char*> expected);

  // Waits until the port has sent what it holds (at most timeoutMs, nominal); ends early on stop.
  static bool WaitForTxEmpty(VkcComPort* port, uint32_t timeoutMs, platform::Event* stop = nullptr);
};
