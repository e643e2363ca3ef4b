#pragma once
// An IPv4 TCP client socket over POSIX: non-blocking descriptor, a connect that a wake-up
// descriptor can interrupt, sends that wait for room (never raising SIGPIPE), and a shutdown that
// other threads may call while one polls the socket. Results are 0 or an errno value.
//
// Not thread-safe by itself: the owner closes the descriptor only once no other thread uses it.

#include <cstddef>
#include <cstdint>
#include <netinet/in.h>
#include <string>

namespace platform {

class TcpSocket {
 public:
  TcpSocket() = default;
  ~TcpSocket() { Close(); }
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  // A new non-blocking IPv4 stream socket. 0 or errno.
  int Create();
  // Resolves host (name or dotted address) for IPv4 TCP; the first address. 0, the getaddrinfo
  // code (EAI_*), or EAI_CANCELED when a wake descriptor (-1 for none) became readable first: a
  // slow name lookup never holds the caller past its wake events (see NameLookup.h).
  static int Resolve(const std::string& host, uint16_t port, sockaddr_in* address, int wakeFd1 = -1,
                     int wakeFd2 = -1);
  // Connects; waits for the outcome until one of the wake descriptors (up to two, -1 for none)
  // is readable (ECANCELED) or the system gives up. 0 or errno.
  int Connect(const sockaddr_in& address, int wakeFd1, int wakeFd2);

  enum class ReadResult { Data, Closed, Error, Nothing };
  // Reads up to length bytes without blocking; Closed when the peer has ended the connection.
  ReadResult Read(uint8_t* data, size_t length, size_t* got, int* err);

  enum class WriteResult { Done, Timeout, Cancelled, Closed, Error };
  // Sends every byte, waiting for room up to timeoutMs (< 0: no limit). Ends early when cancelFd
  // or closeFd (either may be -1) becomes readable. sent gets the bytes taken.
  WriteResult WriteAll(const uint8_t* data, size_t length, int timeoutMs, int cancelFd, int closeFd,
                       size_t* sent, int* err);

  // Waits until the socket is readable or has hung up (true), or wakeFd is readable or ms pass
  // (false).
  bool WaitReadable(int wakeFd, int ms);

  // Ends both directions: pollers and readers see the end; the descriptor stays open.
  void Shutdown();
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }

 private:
  int fd_ = -1;
};

}  // namespace platform
