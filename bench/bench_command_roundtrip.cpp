// Command round trip: SendCommand through the serial port, its reader thread, the listener
// registry and the command channel to the simulated unit and back, against a raw round trip on the
// same kind of link (a pseudo-terminal whose far end echoes the command and writes the same
// answer). Both wait for the prompt. The two run in alternating batches so that load from other
// processes falls on both alike. Prints median and p99 of both, and the ratio of medians last.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "link/VkcConnectionInterface.h"
#include "link/VkcSerialPort.h"
#include "platform/Timing.h"
#include "sim/SimUnit.h"

namespace {

constexpr int kExchanges = 2000;
constexpr int kBatch = 100;
const std::string kCommand = "INFO SW";
const std::string kAnswer = "SW 2.5 Rev C@00\r\n";

struct Stats {
  double median;
  double p99;
};

Stats Summarise(std::vector<double> us) {
  std::sort(us.begin(), us.end());
  return {us[us.size() / 2], us[us.size() * 99 / 100]};
}

// A pseudo-terminal whose far end echoes the command (CR as CR LF) and answers as the unit would.
class RawLink {
 public:
  RawLink() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    grantpt(master_);
    unlockpt(master_);
    slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    cfsetspeed(&t, B115200);
    tcsetattr(slave_, TCSANOW, &t);
    peer_ = std::thread([this] { Peer(); });
  }
  ~RawLink() {
    stop_ = true;
    peer_.join();
    close(slave_);
    close(master_);
  }
  double RoundTrip() {
    static const std::string sent = kCommand + "\r";
    static const std::string expect = kCommand + "\r\n" + kAnswer + "\r\nCLI>";
    uint64_t start = platform::NowUs();
    if (write(slave_, sent.data(), sent.size()) < 0) return 0;
    std::string got;
    char buf[256];
    while (got.size() < expect.size()) {
      pollfd p{slave_, POLLIN, 0};
      if (poll(&p, 1, 1000) <= 0) break;
      ssize_t n = read(slave_, buf, sizeof buf);
      if (n > 0) got.append(buf, static_cast<size_t>(n));
    }
    return static_cast<double>(platform::NowUs() - start);
  }

 private:
  void Peer() {
    std::string line;
    char buf[256];
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      ssize_t n = read(master_, buf, sizeof buf);
      for (ssize_t i = 0; i < n; ++i) {
        if (buf[i] != '\r') {
          line += buf[i];
          continue;
        }
        std::string out = line + "\r\n" + kAnswer + "\r\nCLI>";
        if (write(master_, out.data(), out.size()) < 0) return;
        line.clear();
      }
    }
  }

  int master_ = -1, slave_ = -1;
  std::atomic<bool> stop_{false};
  std::thread peer_;
};

}  // namespace

int main() {
  RawLink raw;
  sim::SimUnit unit;
  unit.SetAnswer(kCommand, kAnswer);
  VkcSerialPort port;
  if (!port.Open(unit.SlavePath16(), 115200, 8, 0, 0)) {
    std::fprintf(stderr, "cannot open %s\n", unit.SlavePath().c_str());
    return 1;
  }
  std::vector<double> rawUs, channelUs;
  char reply[256];
  int failures = 0;
  for (int done = 0; done < kExchanges; done += kBatch) {
    for (int i = 0; i < kBatch; ++i) rawUs.push_back(raw.RoundTrip());
    for (int i = 0; i < kBatch; ++i) {
      uint64_t start = platform::NowUs();
      VkcConnectionInterface channel(&port);
      if (!channel.SendCommand(kCommand.c_str(), reply, sizeof reply, port.GetReplyTimeout(), nullptr, false,
                               VkcConnectionInterface::kMatchAny, false, "@00", nullptr))
        ++failures;
      channelUs.push_back(static_cast<double>(platform::NowUs() - start));
    }
  }
  port.Close();
  if (failures) std::printf("failed exchanges: %d\n", failures);
  Stats r = Summarise(rawUs), c = Summarise(channelUs);
  std::printf("raw pty round trip:     median %8.1f us   p99 %8.1f us   (%d exchanges)\n", r.median, r.p99, kExchanges);
  std::printf("SendCommand round trip: median %8.1f us   p99 %8.1f us   (%d exchanges)\n", c.median, c.p99, kExchanges);
  std::printf("ratio of medians (SendCommand / raw): %.2f\n", c.median / r.median);
  return failures ? 1 : 0;
}
