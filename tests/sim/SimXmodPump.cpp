#include "sim/SimXmodPump.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sim {

bool SimXmodPump::Start(int fd, Sink sink) {
  fd_ = fd;
  sink_ = std::move(sink);
  ended_.Reset();
  return thread_.Start([this](platform::Event& stop) {
    uint8_t buf[4096];
    for (;;) {
      pollfd p[2] = {{fd_, POLLIN, 0}, {stop.Fd(), POLLIN, 0}};
      int r = ::poll(p, 2, 1000);
      if (r < 0 && errno == EINTR) continue;
      if (r < 0 || stop.IsSet()) break;
      if (r == 0) continue;
      if (p[0].revents & (POLLIN | POLLHUP | POLLERR)) {
        ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n > 0) {
          sink_(buf, static_cast<size_t>(n));
          continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        break;  // end of file or an error (a pty master reads EIO once the slave is closed)
      }
    }
    ended_.Set();
  });
}

void SimXmodPump::Stop() { thread_.Stop(); }

bool SimXmodPump::WriteAll(int fd, const uint8_t* data, size_t length, int ms) {
  size_t done = 0;
  while (done < length) {
    // A socket whose peer has gone must fail the write, not raise SIGPIPE.
    ssize_t n = ::send(fd, data + done, length - done, MSG_NOSIGNAL);
    if (n < 0 && errno == ENOTSOCK) n = ::write(fd, data + done, length - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, ms) <= 0) return false;
  }
  return true;
}

}  // namespace sim
