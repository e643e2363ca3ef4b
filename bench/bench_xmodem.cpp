// XModem throughput over pseudo-terminal relays: our engine on our serial port against itself and
// against lrzsz, lrzsz against itself over the same kind of path, and ours over a line paced at
// 115200 bit/s. Prints each throughput, our efficiency against the paced line rate, and last the
// ratio of ours->ours to sx->rx.

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <iterator>
#include <poll.h>
#include <random>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "link/ListenerRegistry.h"
#include "link/VkcSerialPort.h"
#include "link/VkcXModemProtocol.h"
#include "sim/SimXmodPeer.h"
#include "sim/SimXmodPump.h"
#include "sim/SimXmodRelay.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> Data(size_t n) {
  std::mt19937 rng(42);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

bool Send(VkcXModemProtocol& x, const std::vector<uint8_t>& data) {
  for (size_t at = 0; at < data.size(); at += 128) {
    uint8_t block[128];
    std::memset(block, 0x1A, sizeof block);
    std::memcpy(block, data.data() + at, std::min<size_t>(128, data.size() - at));
    if (!x.SendBlock(block, 5000, nullptr)) return false;
  }
  return x.FinishSend(5000, nullptr);
}

bool Receive(VkcXModemProtocol& x, std::vector<uint8_t>& out) {
  x.BeginReceive();
  uint8_t block[128];
  for (;;) {
    if (!x.ReceiveBlock(block, 5000, nullptr)) return false;
    if (x.GetState() == VkcXModemProtocol::kEnded) break;
    out.insert(out.end(), block, block + 128);
  }
  x.End();
  return true;
}

// Copies between two descriptors both ways on a thread of its own (the far end of a pty slave).
class Joiner {
 public:
  Joiner(int a, int b) : a_(a), b_(b) {
    thread_.Start([this](platform::Event& stop) {
      uint8_t buf[4096];
      for (;;) {
        pollfd p[3] = {{a_, POLLIN, 0}, {b_, POLLIN, 0}, {stop.Fd(), POLLIN, 0}};
        if (::poll(p, 3, 1000) < 0 && errno != EINTR) return;
        if (stop.IsSet()) return;
        for (int i = 0; i < 2; ++i) {
          if (!(p[i].revents & POLLIN)) continue;
          ssize_t n = ::read(i ? b_ : a_, buf, sizeof buf);
          if (n > 0) sim::SimXmodPump::WriteAll(i ? a_ : b_, buf, static_cast<size_t>(n));
        }
      }
    });
  }
  ~Joiner() { thread_.Stop(); }

 private:
  int a_, b_;
  platform::WorkerThread thread_;
};

double Seconds(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// ours -> ours: sender on one pty, receiver on another, the relay between their far sides.
double OursToOurs(const std::vector<uint8_t>& data, uint32_t bytesPerSecond) {
  sim::SimXmodRelay a, b;
  // Each port delivers to its own listeners only (the process-wide table would join them).
  ListenerRegistry ra, rb;
  VkcSerialPort pa(&ra), pb(&rb);
  if (!pa.Open(a.SlavePath16(), 115200, 8, 0, 0) || !pb.Open(b.SlavePath16(), 115200, 8, 0, 0)) return 0;
  a.Start(b.MasterFd(), bytesPerSecond);
  VkcXModemProtocol tx(&pa), rx(&pb);
  tx.BeginSend();
  std::vector<uint8_t> got;
  auto t0 = Clock::now();
  auto r = std::async(std::launch::async, [&] { return Receive(rx, got); });
  bool sent = Send(tx, data);
  bool received = r.get();
  bool ok = sent && received;
  double s = Seconds(t0);
  a.Stop();
  if (!ok) std::fprintf(stderr, "ours->ours failed: sent %d received %d (%zu bytes)\n", sent, received, got.size());
  return ok && std::equal(data.begin(), data.end(), got.begin()) ? data.size() / s : 0;
}

double OursToRx(const std::vector<uint8_t>& data, const std::string& dir) {
  sim::SimXmodRelay relay;
  VkcSerialPort port;
  if (!port.Open(relay.SlavePath16(), 115200, 8, 0, 0)) return 0;
  VkcXModemProtocol tx(&port);
  tx.BeginSend();
  sim::SimXmodPeer rx;
  auto t0 = Clock::now();
  if (!rx.Start({"/usr/bin/rx", "-X", "-q", "-y", "o1"}, dir)) return 0;
  relay.Start(rx.Fd());
  bool ok = Send(tx, data) && rx.Wait(30000) == 0;
  double s = Seconds(t0);
  relay.Stop();
  return ok ? data.size() / s : 0;
}

double SxToOurs(const std::vector<uint8_t>& data, const std::string& dir) {
  sim::SimXmodRelay relay;
  VkcSerialPort port;
  if (!port.Open(relay.SlavePath16(), 115200, 8, 0, 0)) return 0;
  VkcXModemProtocol rx(&port);
  sim::SimXmodPeer sx;
  std::vector<uint8_t> got;
  auto t0 = Clock::now();
  if (!sx.Start({"/usr/bin/sx", "-X", "-q", "src"}, dir)) return 0;
  relay.Start(sx.Fd());
  bool ok = Receive(rx, got) && sx.Wait(30000) == 0;
  double s = Seconds(t0);
  relay.Stop();
  return ok && std::equal(data.begin(), data.end(), got.begin()) ? data.size() / s : 0;
}

// sx -> rx over the same kind of path: sx relayed into a pty whose slave is joined to rx.
double SxToRx(const std::vector<uint8_t>& data, const std::string& dir) {
  sim::SimXmodRelay relay;
  int slave = ::open(relay.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave < 0) return 0;
  termios t{};
  ::tcgetattr(slave, &t);
  ::cfmakeraw(&t);
  ::tcsetattr(slave, TCSANOW, &t);
  sim::SimXmodPeer sx, rx;
  auto t0 = Clock::now();
  if (!rx.Start({"/usr/bin/rx", "-X", "-q", "-y", "o2"}, dir) || !sx.Start({"/usr/bin/sx", "-X", "-q", "src"}, dir))
    return 0;
  Joiner join(slave, rx.Fd());
  relay.Start(sx.Fd());
  bool ok = rx.Wait(30000) == 0 && sx.Wait(30000) == 0;
  double s = Seconds(t0);
  relay.Stop();
  ::close(slave);
  return ok ? data.size() / s : 0;
}

}  // namespace

int main() {
  const auto data = Data(256 * 1024);
  char tmpl[] = "/tmp/bench-xmodem-XXXXXX";
  const std::string path = ::mkdtemp(tmpl) ? tmpl : "/tmp";
  {
    std::ofstream f(path + "/src", std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  }
  double oo = OursToOurs(data, 0);
  double orx = OursToRx(data, path);
  double sxo = SxToOurs(data, path);
  double sxrx = SxToRx(data, path);
  std::printf("ours->ours   %10.0f B/s\n", oo);
  std::printf("ours->rx     %10.0f B/s\n", orx);
  std::printf("sx->ours     %10.0f B/s\n", sxo);
  std::printf("sx->rx       %10.0f B/s\n", sxrx);
  const uint32_t line = 115200 / 10;
  const auto paced = Data(64 * 1024);
  double p = OursToOurs(paced, line);
  std::printf("ours->ours paced at 115200 bit/s: %.0f B/s, efficiency %.1f%% of the line rate (target 90%%)\n", p,
              100.0 * p / line);
  for (const char* f : {"/src", "/o1", "/o2"}) ::unlink((path + f).c_str());
  ::rmdir(path.c_str());
  std::printf("ratio ours->ours / sx->rx: %.2f (target 1.0)\n", sxrx > 0 ? oo / sxrx : 0.0);
  return 0;
}
