#include "link/VkcTCPPort.h"

#include <cerrno>
#include <cstring>
#include <mutex>
#include <netdb.h>

#include "link/VkcErrorProcessor.h"
#include "link/VkcLinkTimes.h"
#include "link/VkcTCPClient.h"
#include "platform/Timing.h"

bool VkcTCPPort::Connect(const TcpConnectSettings& settings, platform::Event* wake1, platform::Event* wake2) {
  const std::string& address = settings.GetAddress();
  if (address.empty() || settings.GetPort() == 0 || !owner_) return false;
  std::unique_lock<std::shared_mutex> g(io_);
  socket_.Close();
  connected_ = false;
  closing_.Reset();
  if (int e = socket_.Create()) {
    ErrorLog().ReportError(static_cast<uint32_t>(e), "Unable to create socket %s ", address.c_str());
    return false;
  }
  sockaddr_in to{};
  if (int e = platform::TcpSocket::Resolve(address, settings.GetPort(), &to, wake1 ? wake1->Fd() : -1,
                                           wake2 ? wake2->Fd() : -1)) {
    // A lookup given up for a close or a stop is no error, as a connect given up is not.
    if (e != EAI_CANCELED)
      ErrorLog().ReportError(static_cast<uint32_t>(e), "Unable to get addrinfo %s ", address.c_str());
    socket_.Close();
    return false;
  }
  int e = socket_.Connect(to, wake1 ? wake1->Fd() : -1, wake2 ? wake2->Fd() : -1);
  if (e != 0) {
    if (e != ECANCELED)
      ErrorLog().ReportError(static_cast<uint32_t>(e), "Socket connect error %s, %d ", address.c_str(),
                             settings.GetPort());
    socket_.Close();
    return false;
  }
  connected_ = true;
  return true;
}

int VkcTCPPort::Send(const void* data, int length, int timeoutMs, platform::Event* extraEvent) {
  if (!data) return -1;
  size_t n = length < 0 ? std::strlen(static_cast<const char*>(data)) : static_cast<size_t>(length);
  std::shared_lock<std::shared_mutex> g(io_);
  if (!connected_.load() || !socket_.IsOpen()) return -1;
  if (n == 0) return 0;
  int wait = timeoutMs < 0 ? -1 : static_cast<int>(platform::Scaled(static_cast<uint32_t>(timeoutMs)));
  size_t sent = 0;
  int err = 0;
  auto r = socket_.WriteAll(static_cast<const uint8_t*>(data), n, wait, extraEvent ? extraEvent->Fd() : -1,
                            closing_.Fd(), &sent, &err);
  switch (r) {
    case platform::TcpSocket::WriteResult::Done:
      return static_cast<int>(sent);
    case platform::TcpSocket::WriteResult::Timeout:
    case platform::TcpSocket::WriteResult::Cancelled:
      ErrorLog().ReportError(platform::kWaitTimeout, "send not completed successfuly - %d ", static_cast<int>(sent));
      return -1;
    case platform::TcpSocket::WriteResult::Closed:
    case platform::TcpSocket::WriteResult::Error:
      break;
  }
  ErrorLog().ReportError(static_cast<uint32_t>(err), "send failed on socket - %d ", err);
  // Still under the shared lock: a reconnect (which takes it exclusively) cannot have put a new
  // connection in its place, so only the connection that failed is ended.
  ShutdownLocked();  // the port thread sees the end and tells the client
  return -1;
}

void VkcTCPPort::RunEventLoop(platform::Event& stop) {
  const int wait = static_cast<int>(platform::Scaled(linktimes::kTcpNetworkWait));
  for (;;) {
    if (stop.IsSet() || !socket_.IsOpen()) break;
    if (!socket_.WaitReadable(stop.Fd(), wait)) continue;
    if (!Receive()) break;
  }
}

bool VkcTCPPort::Receive() {
  uint8_t buf[kReadChunk];
  size_t got = 0;
  int err = 0;
  switch (socket_.Read(buf, sizeof buf, &got, &err)) {
    case platform::TcpSocket::ReadResult::Data:
      owner_->OnSocketData(buf, got);
      return true;
    case platform::TcpSocket::ReadResult::Nothing:
      return true;
    case platform::TcpSocket::ReadResult::Closed:
    case platform::TcpSocket::ReadResult::Error:
      break;
  }
  Shutdown();
  owner_->OnConnectionClosed();
  return false;
}

void VkcTCPPort::Shutdown() {
  std::shared_lock<std::shared_mutex> g(io_);
  ShutdownLocked();
}

void VkcTCPPort::ShutdownLocked() {
  connected_ = false;
  closing_.Set();
  socket_.Shutdown();
}

void VkcTCPPort::Close() {
  connected_ = false;
  closing_.Set();
  std::unique_lock<std::shared_mutex> g(io_);
  socket_.Close();
}
