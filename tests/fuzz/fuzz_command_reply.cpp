// Unit replies through the command channel: arbitrary echo, reply and prompt bytes in arbitrary
// chunks, every match mode, raw and no-echo channels, a kept second exchange. The reply copy stays
// inside its buffer and is always terminated.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "link/ListenerRegistry.h"
#include "link/VkcComPort.h"
#include "link/VkcConnectionInterface.h"

namespace {

// Answers every write at once with the chunks of the input.
class ReplayPort : public VkcComPort {
 public:
  explicit ReplayPort(ListenerRegistry* r) : VkcComPort(r) {}
  bool Reopen() override { return true; }
  bool Close() override { return true; }
  int Write(const void* data, int length, VkcComPortInterface*, int, platform::Event*) override {
    size_t n = length < 0 ? std::strlen(static_cast<const char*>(data)) : static_cast<size_t>(length);
    for (const auto& c : chunks) Registry().DeliverData(reinterpret_cast<const uint8_t*>(c.data()), c.size(), this);
    return static_cast<int>(n);
  }
  uint32_t GetReplyTimeout() const override { return 0; }
  uint32_t GetLongTimeout() const override { return 0; }
  bool IsOpen() const override { return true; }
  void RunReceiveLoop(platform::Event&) override {}
  std::vector<std::string> chunks;
};

struct Reader {
  const uint8_t* p;
  size_t left;
  std::string Take(size_t max) {
    if (!left) return {};
    size_t n = std::min<size_t>(*p % (max + 1), left - 1);
    std::string s(reinterpret_cast<const char*>(p + 1), n);
    p += n + 1;
    left -= n + 1;
    return s;
  }
  uint8_t Byte() {
    if (!left) return 0;
    --left;
    return *p++;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  const uint8_t flags = in.Byte();
  const int mode = flags % 3;
  const bool raw = flags & 4, noEcho = flags & 8, keep = flags & 16;
  std::vector<std::string> expected;
  for (int i = (flags >> 5) % 4; i > 0; --i) expected.push_back(in.Take(12));
  const std::string command = in.Take(24);
  ListenerRegistry registry;
  ReplayPort port(&registry);
  while (in.left) port.chunks.push_back(in.Take(100));

  VkcConnectionInterface channel(&port, noEcho);
  char reply[64];
  std::memset(reply, 'x', sizeof reply);
  channel.Transact(command.c_str(), reply, sizeof reply, 0, nullptr, false, mode, raw, expected);
  if (std::memchr(reply, 0, sizeof reply) == nullptr) std::abort();
  port.chunks.clear();
  channel.Transact(nullptr, reply, 1, 0, nullptr, keep, mode, raw, expected);
  if (reply[0] != 0) std::abort();
  (void)channel.GetReply();
  registry.Remove(&channel);
  return 0;
}
