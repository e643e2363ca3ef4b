#include "platform/TcpSocket.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/NameLookup.h"

namespace platform {

int TcpSocket::Create() {
  Close();
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
  if (fd < 0) return errno;
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);  // commands are short and awaited
  fd_ = fd;
  return 0;
}

int TcpSocket::Resolve(const std::string& host, uint16_t port, sockaddr_in* address, int wakeFd1, int wakeFd2) {
  return LookUpHost(host, port, wakeFd1, wakeFd2, address);
}

int TcpSocket::Connect(const sockaddr_in& address, int wakeFd1, int wakeFd2) {
  if (fd_ < 0) return EBADF;
  int rc = ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  if (rc == 0) return 0;
  if (errno != EINPROGRESS && errno != EINTR) return errno;
  for (;;) {
    pollfd p[3] = {{fd_, POLLOUT, 0}, {wakeFd1, POLLIN, 0}, {wakeFd2, POLLIN, 0}};
    int r = ::poll(p, 3, 1000);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return errno;
    if ((p[1].revents | p[2].revents) & POLLIN) return ECANCELED;
    if (r == 0) continue;
    if (p[0].revents) {
      int err = 0;
      socklen_t len = sizeof err;
      if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return errno;
      return err;
    }
  }
}

TcpSocket::ReadResult TcpSocket::Read(uint8_t* data, size_t length, size_t* got, int* err) {
  *got = 0;
  if (fd_ < 0) {
    if (err) *err = EBADF;
    return ReadResult::Error;
  }
  for (;;) {
    ssize_t n = ::recv(fd_, data, length, MSG_DONTWAIT);
    if (n > 0) {
      *got = static_cast<size_t>(n);
      return ReadResult::Data;
    }
    if (n == 0) return ReadResult::Closed;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return ReadResult::Nothing;
    if (err) *err = errno;
    return ReadResult::Error;
  }
}

TcpSocket::WriteResult TcpSocket::WriteAll(const uint8_t* data, size_t length, int timeoutMs, int cancelFd,
                                           int closeFd, size_t* sent, int* err) {
  *sent = 0;
  if (fd_ < 0) {
    if (err) *err = EBADF;
    return WriteResult::Closed;
  }
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  while (*sent < length) {
    ssize_t n = ::send(fd_, data + *sent, length - *sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      *sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      if (err) *err = errno;
      return errno == EPIPE || errno == ECONNRESET ? WriteResult::Closed : WriteResult::Error;
    }
    int wait = -1;
    if (timeoutMs >= 0) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
      if (left.count() <= 0) return WriteResult::Timeout;
      wait = static_cast<int>(left.count());
    }
    // Bounded slices, so a peer that never reads cannot hold a writer past its own checks.
    if (wait < 0 || wait > 1000) wait = 1000;
    pollfd p[3] = {{fd_, POLLOUT, 0}, {cancelFd, POLLIN, 0}, {closeFd, POLLIN, 0}};
    int r = ::poll(p, 3, wait);
    if (r < 0 && errno != EINTR) {
      if (err) *err = errno;
      return WriteResult::Error;
    }
    if (r > 0 && (p[1].revents & POLLIN)) return WriteResult::Cancelled;
    if (r > 0 && (p[2].revents & POLLIN)) return WriteResult::Closed;
    if (r > 0 && (p[0].revents & (POLLERR | POLLHUP | POLLNVAL)) && !(p[0].revents & POLLOUT)) {
      if (err) *err = EPIPE;
      return WriteResult::Closed;
    }
  }
  return WriteResult::Done;
}

bool TcpSocket::WaitReadable(int wakeFd, int ms) {
  if (fd_ < 0) return false;
  pollfd p[2] = {{fd_, POLLIN | POLLRDHUP, 0}, {wakeFd, POLLIN, 0}};
  int r = ::poll(p, 2, ms);
  if (r <= 0) return false;
  if (p[1].revents & POLLIN) return false;
  return p[0].revents != 0;
}

void TcpSocket::Shutdown() {
  if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
}

void TcpSocket::Close() {
  if (fd_ < 0) return;
  ::shutdown(fd_, SHUT_RDWR);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace platform
