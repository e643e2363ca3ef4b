#include "sim/SimXmodRelay.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include "sim/SimXmodPump.h"

namespace sim {

SimXmodRelay::SimXmodRelay() {
  int m = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (m < 0) return;
  char name[128];
  if (grantpt(m) != 0 || unlockpt(m) != 0 || ptsname_r(m, name, sizeof name) != 0) {
    ::close(m);
    return;
  }
  ::fcntl(m, F_SETFL, ::fcntl(m, F_GETFL) | O_NONBLOCK);
  slaveHold_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slaveHold_ < 0) {
    ::close(m);
    return;
  }
  termios t{};
  ::tcgetattr(slaveHold_, &t);
  ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  ::tcsetattr(slaveHold_, TCSANOW, &t);
  slavePath_ = name;
  master_ = m;
  thread_.StopEvent().Fd();
}

SimXmodRelay::~SimXmodRelay() {
  Stop();
  if (slaveHold_ >= 0) ::close(slaveHold_);
  if (master_ >= 0) ::close(master_);
}

std::u16string SimXmodRelay::SlavePath16() const { return std::u16string(slavePath_.begin(), slavePath_.end()); }

bool SimXmodRelay::Start(int peerFd, uint32_t bytesPerSecond) {
  if (master_ < 0) return false;
  peer_ = peerFd;
  bytesPerSecond_ = bytesPerSecond;
  return thread_.Start([this](platform::Event& stop) { Run(stop); });
}

void SimXmodRelay::Stop() { thread_.Stop(); }

void SimXmodRelay::Run(platform::Event& stop) {
  using Clock = std::chrono::steady_clock;
  // Pacing: each direction has the time its line is busy until.
  Clock::time_point busy[2] = {Clock::now(), Clock::now()};
  const int fds[2] = {master_, peer_};
  uint8_t buf[4096];
  for (;;) {
    pollfd p[3] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}, {stop.Fd(), POLLIN, 0}};
    int r = ::poll(p, 3, 1000);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 || stop.IsSet()) return;
    for (int i = 0; i < 2; ++i) {
      if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      size_t chunk = sizeof buf;
      if (bytesPerSecond_) chunk = std::max<size_t>(1, bytesPerSecond_ / 1000);  // about 1 ms of line
      ssize_t n = ::read(fds[i], buf, chunk);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n <= 0) {
        // A pty master reads EIO while no one has the slave open; wait for the port to come back.
        if (stop.Wait(5) == 0) return;
        continue;
      }
      if (bytesPerSecond_) {
        auto now = Clock::now();
        if (busy[i] < now) busy[i] = now;
        busy[i] += std::chrono::microseconds(static_cast<int64_t>(n) * 1000000 / bytesPerSecond_);
        auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(busy[i] - now).count();
        if (wait > 0 && stop.Wait(static_cast<uint32_t>(wait)) == 0) return;
      }
      SimXmodPump::WriteAll(fds[1 - i], buf, static_cast<size_t>(n), 5000);
      relayed_ += static_cast<uint64_t>(n);
    }
  }
}

}  // namespace sim
