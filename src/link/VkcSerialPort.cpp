#include "link/VkcSerialPort.h"

#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

#include "link/LinkTimeouts.h"
#include "link/Utf.h"
#include "link/VkcErrorProcessor.h"
#include "platform/Timing.h"

#include <poll.h>

using platform::SerialDevice;

VkcSerialPort::VkcSerialPort(ListenerRegistry* registry) : VkcComPort(registry) {}

VkcSerialPort::~VkcSerialPort() { Close(); }

void VkcSerialPort::Post(PortStatus status) const { PostPortStatus(owner_.load(), status); }

bool VkcSerialPort::SetOwnerWindow(platform::WindowHandle window) {
  owner_.store(window);
  return true;
}

uint32_t VkcSerialPort::GetReplyTimeout() const { return linktimeouts::kSerialReplyMs; }
uint32_t VkcSerialPort::GetLongTimeout() const { return linktimeouts::kSerialLongMs; }

bool VkcSerialPort::IsOpen() const { return open_.load() && !hungUp_.load(); }

std::u16string VkcSerialPort::GetPortName() const {
  std::shared_lock<std::shared_mutex> g(io_);
  return name_;
}

void VkcSerialPort::GetShortPortName(std::u16string& out) const {
  std::u16string name = GetPortName();
  size_t cut = name.find_last_of(u"\\/");
  out = cut == std::u16string::npos ? name : name.substr(cut + 1);
}

bool VkcSerialPort::Reopen() {
  return Open(GetPortName(), baud_.load(), 8, 0, 0);
}

bool VkcSerialPort::Open(const std::u16string& name, uint32_t baud, int dataBits, int parity,
                         int stopBits) {
  // Opening an open port would orphan its reader and descriptor: close it first.
  Close();
  if (name.empty()) {
    ErrorLog().ReportError(0, "Com port name is empty");
    Post(kPortOpenFailed);
    return false;
  }
  std::string path = Utf16ToUtf8(name);
  {
    std::unique_lock<std::shared_mutex> g(io_);
    name_ = name;
    if (int e = device_.Open(path)) {
      ErrorLog().ReportError(static_cast<uint32_t>(e), "Unable to open port %s", path.c_str());
      g.unlock();
      Post(kPortOpenFailed);
      return false;
    }
    SerialDevice::Stage stage = SerialDevice::Stage::None;
    if (int e = device_.Configure(baud, dataBits, parity, stopBits, &stage)) {
      ErrorLog().ReportError(static_cast<uint32_t>(e), stage == SerialDevice::Stage::Read
                                                           ? "Unable to retrieve Com state"
                                                           : "Unable to set Com state");
      device_.Close();
      g.unlock();
      Post(kPortOpenFailed);
      return false;
    }
    baud_.store(baud);
    flow_.store(0);
    // The lines keep what was last chosen (DTR off, RTS on for a new port).
    if (int e = device_.SetModemLine(TIOCM_DTR, dtr_.load()))
      ErrorLog().ReportError(static_cast<uint32_t>(e), "Unable to %s DTR", dtr_.load() ? "set" : "clear");
    if (int e = device_.SetModemLine(TIOCM_RTS, rts_.load()))
      ErrorLog().ReportError(static_cast<uint32_t>(e), "Unable to %s RTS", rts_.load() ? "set" : "clear");
    eventMask_.store(kEvRxChar | kEvCts);
    if (int e = device_.Purge(true, true)) ErrorLog().ReportError(0, "PurgeComm error %d", e);
    closing_.Reset();
    hungUp_.store(false);
    txPending_.store(false);
    open_.store(true);
  }
  if (!reader_.Start([this](platform::Event& stop) { ThreadProc(this, stop); })) {
    ErrorLog().ReportError(0, "Unable to start thread for port %s", path.c_str());
    std::unique_lock<std::shared_mutex> g(io_);
    open_.store(false);
    device_.Close();
    g.unlock();
    Post(kPortOpenFailed);
    return false;
  }
  Post(kPortOpened);
  return true;
}

bool VkcSerialPort::Close() { return CloseInternal(true); }

bool VkcSerialPort::CloseInternal(bool postClosed) {
  bool wasOpen = open_.exchange(false);
  if (!wasOpen && !reader_.Joinable()) return true;
  // Writers waiting for room on the line give up; then the reader ends on its stop event.
  closing_.Set();
  if (reader_.IsCurrentThread()) {
    // Never from a data callback; should it happen, the reader only stops here and the descriptor
    // is closed by the next Close, Open or the destructor, once the reader has ended.
    reader_.RequestStop();
    if (wasOpen && postClosed && !hungUp_.load()) Post(kPortClosed);
    return true;
  }
  if (reader_.Joinable()) {
    std::u16string name = GetPortName();
    reader_.Stop(platform::Scaled(linktimeouts::kSerialReaderJoinMs), [&name] {
      ErrorLog().ReportError(platform::kWaitTimeout, "Reader of port %s does not end",
                             Utf16ToUtf8(name).c_str());
    });
  }
  bool hungUp;
  {
    std::unique_lock<std::shared_mutex> g(io_);
    device_.Close();
    hungUp = hungUp_.exchange(false);
  }
  // After a hang-up the owner was told already.
  if (wasOpen && postClosed && !hungUp) Post(kPortClosed);
  return true;
}

bool VkcSerialPort::HeldByCtsLocked() const {
  if (flow_.load() != 2 || !device_.ModemLinesSupported()) return false;
  uint32_t status = 0;
  if (const_cast<SerialDevice&>(device_).GetModemStatus(status) != 0) return false;
  return (status & kMsCtsOn) == 0;
}

int VkcSerialPort::Write(const void* data, int length, VkcComPortInterface* listenerToSkip,
                         int timeoutMs, platform::Event* cancelEvent) {
  if (!data) return -1;
  size_t n = length < 0 ? std::strlen(static_cast<const char*>(data)) : static_cast<size_t>(length);
  {
    std::shared_lock<std::shared_mutex> g(io_);
    if (!IsOpen() || !device_.IsOpen()) return -1;
    if (HeldByCtsLocked() && !cancelEvent) return 0;
    // Without a cancel event the write waits for the line as long as it takes (until the close).
    int waitMs = -1;
    if (cancelEvent && timeoutMs >= 0) waitMs = static_cast<int>(platform::Scaled(static_cast<uint32_t>(timeoutMs)));
    size_t written = 0;
    int err = 0;
    auto result = device_.WriteAll(static_cast<const uint8_t*>(data), n, waitMs,
                                   cancelEvent ? cancelEvent->Fd() : -1, closing_.Fd(), written, &err);
    switch (result) {
      case SerialDevice::WriteResult::Done:
        break;
      case SerialDevice::WriteResult::Error:
        ErrorLog().ReportError(static_cast<uint32_t>(err), "Error Sending data through COM port Error = %d", err);
        return -1;
      case SerialDevice::WriteResult::Timeout:
        ErrorLog().ReportError(platform::kWaitTimeout, "Write Operation failure");
        device_.Purge(false, true);
        return -1;
      case SerialDevice::WriteResult::Cancelled:
        cancelEvent->Wait(0);  // a wait takes an auto-reset signal
        ErrorLog().ReportError(1, "Write Operation failure");
        device_.Purge(false, true);
        return -1;
      case SerialDevice::WriteResult::Closed:
        return -1;
    }
    if (eventMask_.load() & kEvTxEmpty) txPending_.store(true);
  }
  Registry().DeliverSent(static_cast<const uint8_t*>(data), n, this, listenerToSkip);
  return static_cast<int>(n);
}

bool VkcSerialPort::LineOperation(LineRequest request, uint32_t value, int& error) {
  error = EBADF;
  std::shared_lock<std::shared_mutex> g(io_);
  if (!IsOpen() || !device_.IsOpen()) return false;
  std::lock_guard<std::mutex> lines(lineLock_);
  error = EBUSY;
  if (HeldByCtsLocked()) return false;  // line requests carry no cancel event
  int e = 0;
  switch (request) {
    case LineRequest::Rts: e = device_.SetModemLine(TIOCM_RTS, value != 0); break;
    case LineRequest::Dtr: e = device_.SetModemLine(TIOCM_DTR, value != 0); break;
    case LineRequest::Baud: e = device_.SetBaudRate(value); break;
  }
  error = e;
  if (e != 0) {
    ErrorLog().ReportError(static_cast<uint32_t>(e), "IoCTLOperation");
    return false;
  }
  return true;
}

bool VkcSerialPort::SetRTS(bool on) {
  int e = 0;
  if (!LineOperation(LineRequest::Rts, on, e)) {
    ErrorLog().ReportError(static_cast<uint32_t>(e), "Unable to %s RTS", on ? "set" : "clear");
    return false;
  }
  rts_.store(on);
  return true;
}

bool VkcSerialPort::SetDTR(bool on) {
  int e = 0;
  if (!LineOperation(LineRequest::Dtr, on, e)) {
    ErrorLog().ReportError(static_cast<uint32_t>(e), "Unable to %s DTR", on ? "set" : "clear");
    return false;
  }
  dtr_.store(on);
  return true;
}

bool VkcSerialPort::SetBaudRate(uint32_t baud) {
  int e = 0;
  if (!LineOperation(LineRequest::Baud, baud, e)) {
    ErrorLog().ReportError(static_cast<uint32_t>(e), "Unable to set Baud Rate %d", static_cast<int>(baud));
    return false;
  }
  baud_.store(baud);
  bool ok = SetDTR(dtr_.load());
  if (ok && flow_.load() != 2) ok = SetRTS(rts_.load());
  if (!ok) {
    ErrorLog().ReportError(0, "Set Baud Rate Error on SetDTR");
    return false;
  }
  return true;
}

bool VkcSerialPort::SetFlowControl(uint32_t mode) {
  {
    std::shared_lock<std::shared_mutex> g(io_);
    std::lock_guard<std::mutex> lines(lineLock_);
    SerialDevice::Stage stage = SerialDevice::Stage::None;
    int e = device_.IsOpen() ? device_.SetFlowControl(mode, &stage) : EBADF;
    if (e != 0) {
      ErrorLog().ReportError(static_cast<uint32_t>(e), stage == SerialDevice::Stage::Write
                                                           ? "Unable to set Com state"
                                                           : "Unable to retrieve Com state");
      return false;
    }
    flow_.store(mode);
  }
  SetDTR(dtr_.load());
  if (mode == 0) SetRTS(rts_.load());
  return true;
}

bool VkcSerialPort::SetEventMask(uint32_t mask) {
  if (!IsOpen()) return false;
  eventMask_.store(mask);
  return true;
}

uint32_t VkcSerialPort::GetModemStatus() const {
  std::shared_lock<std::shared_mutex> g(io_);
  uint32_t status = 0;
  if (!device_.IsOpen() || const_cast<SerialDevice&>(device_).GetModemStatus(status) != 0) return 0;
  return status;
}

void VkcSerialPort::ReportHangUp(int err) {
  ErrorLog().ReportError(static_cast<uint32_t>(err), "ClearCommError returns FALSE Error = %d", err);
  hungUp_.store(true);
  Post(kPortClosed);
}

void VkcSerialPort::RunReceiveLoop(platform::Event& stop) {
  // The descriptor stays open until this loop has ended (Close joins it first), so it is read
  // here without the descriptor lock.
  const int fd = device_.Fd();
  uint8_t buf[kReadChunk];
  uint32_t lastStatus = 0;
  bool haveStatus = false;
  for (;;) {
    uint32_t mask = eventMask_.load();
    bool watchCts = (mask & kEvCts) && device_.ModemLinesSupported();
    bool watchTx = (mask & kEvTxEmpty) && txPending_.load();
    int timeout = watchCts || watchTx ? static_cast<int>(platform::Scaled(linktimeouts::kCtsPollMs)) : -1;
    pollfd fds[2] = {{fd, POLLIN, 0}, {stop.Fd(), POLLIN, 0}};
    int r = poll(fds, 2, timeout);
    if (stop.IsSet()) return;
    if (r < 0 && errno != EINTR) {
      ReportHangUp(errno);
      return;
    }
    if (r > 0 && fds[0].revents) {
      for (;;) {
        int err = 0;
        long n = device_.Read(buf, sizeof buf, &err);
        if (n > 0) {
          Registry().DeliverData(buf, static_cast<size_t>(n), this);
          continue;
        }
        if (n == 0 && !(fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))) break;
        // A read error, or a hang-up with nothing left: the device is gone.
        ReportHangUp(n == -1 ? err : EIO);
        return;
      }
    }
    if (watchCts) {
      uint32_t status = 0;
      if (device_.GetModemStatus(status) == 0) {
        if (haveStatus && ((status ^ lastStatus) & kMsCtsOn)) Registry().DeliverEvent(kEvCts, this);
        lastStatus = status;
        haveStatus = true;
      }
    }
    if (watchTx) {
      int queued = 0;
      if (device_.OutputQueue(queued) == 0 && queued == 0) {
        txPending_.store(false);
        Registry().DeliverEvent(kEvTxEmpty, this);
      }
    }
  }
}
