#include "platform/SerialDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/SerialDeviceSpeed.h"

namespace platform {

namespace {

speed_t SpeedConstant(uint32_t baud) {
  switch (baud) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return 0;  // no constant: set through termios2
  }
}

bool LinesUnsupported(int e) { return e == ENOTTY || e == EINVAL; }

int64_t SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

SerialDevice::~SerialDevice() { Close(); }

int SerialDevice::Open(const std::string& path) {
  Close();
  int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  if (!isatty(fd)) {
    close(fd);
    return ENOTTY;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int e = errno == EWOULDBLOCK ? EBUSY : errno;
    close(fd);
    return e;
  }
  ioctl(fd, TIOCEXCL);
  fd_ = fd;
  modemLines_ = true;
  return 0;
}

void SerialDevice::Close() {
  if (fd_ < 0) return;
  tcflush(fd_, TCOFLUSH);
  ioctl(fd_, TIOCNXCL);
  flock(fd_, LOCK_UN);
  close(fd_);
  fd_ = -1;
}

int SerialDevice::ApplyRate(uint32_t baud) {
  if (SpeedConstant(baud) != 0) return 0;  // already in the termios written
  if (!SetLineSpeedExact(fd_, baud)) return errno;
  return 0;
}

int SerialDevice::Configure(uint32_t baud, int dataBits, int parity, int stopBits, Stage* failed) {
  Stage dummy;
  Stage& stage = failed ? *failed : dummy;
  stage = Stage::Read;
  if (fd_ < 0) return EBADF;
  termios t{};
  if (tcgetattr(fd_, &t) != 0) return errno;
  stage = Stage::Write;
  cfmakeraw(&t);
  t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CLOCAL | CREAD;
  switch (dataBits) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    default: t.c_cflag |= CS8; break;
  }
  switch (parity) {
    case 0: break;
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: return EINVAL;
  }
  if (stopBits == 1 || stopBits == 2)
    t.c_cflag |= CSTOPB;
  else if (stopBits != 0)
    return EINVAL;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  speed_t s = SpeedConstant(baud);
  if (s != 0) cfsetspeed(&t, s);
  if (tcsetattr(fd_, TCSANOW, &t) != 0) return errno;
  if (int e = ApplyRate(baud)) return e;
  baud_ = baud;
  stage = Stage::None;
  return 0;
}

int SerialDevice::SetBaudRate(uint32_t baud) {
  if (fd_ < 0) return EBADF;
  if (baud == 0) return EINVAL;
  speed_t s = SpeedConstant(baud);
  if (s != 0) {
    termios t{};
    if (tcgetattr(fd_, &t) != 0) return errno;
    cfsetspeed(&t, s);
    if (tcsetattr(fd_, TCSANOW, &t) != 0) return errno;
  } else if (int e = ApplyRate(baud)) {
    return e;
  }
  baud_ = baud;
  return 0;
}

int SerialDevice::SetFlowControl(uint32_t mode, Stage* failed) {
  Stage dummy;
  Stage& stage = failed ? *failed : dummy;
  stage = Stage::Read;
  if (fd_ < 0) return EBADF;
  termios t{};
  if (tcgetattr(fd_, &t) != 0) return errno;
  stage = Stage::Write;
  switch (mode) {
    case 0:
      t.c_cflag &= ~CRTSCTS;
      t.c_iflag &= ~IXON;
      break;
    case 1:
      t.c_cflag &= ~CRTSCTS;
      t.c_iflag |= IXON | IXOFF;
      break;
    case 2:
      t.c_cflag |= CRTSCTS;
      t.c_iflag &= ~(IXON | IXOFF);
      break;
    default:
      return EINVAL;
  }
  if (tcsetattr(fd_, TCSANOW, &t) != 0) return errno;
  if (baud_ != 0) {
    if (int e = ApplyRate(baud_)) return e;
  }
  stage = Stage::None;
  return 0;
}

int SerialDevice::SetModemLine(int line, bool on) {
  if (fd_ < 0) return EBADF;
  if (!modemLines_.load()) return 0;
  if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return 0;
  if (LinesUnsupported(errno)) {
    modemLines_ = false;
    return 0;
  }
  return errno;
}

int SerialDevice::GetModemStatus(uint32_t& status) {
  status = 0;
  if (fd_ < 0) return EBADF;
  if (!modemLines_.load()) return ENOTTY;
  int bits = 0;
  if (ioctl(fd_, TIOCMGET, &bits) != 0) {
    int e = errno;
    if (LinesUnsupported(e)) modemLines_ = false;
    return e;
  }
  if (bits & TIOCM_CTS) status |= 0x10;
  if (bits & TIOCM_DSR) status |= 0x20;
  if (bits & TIOCM_RNG) status |= 0x40;
  if (bits & TIOCM_CAR) status |= 0x80;
  return 0;
}

int SerialDevice::OutputQueue(int& bytes) {
  bytes = 0;
  if (fd_ < 0) return EBADF;
  return ioctl(fd_, TIOCOUTQ, &bytes) == 0 ? 0 : errno;
}

int SerialDevice::Purge(bool input, bool output) {
  if (fd_ < 0) return EBADF;
  int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
  return tcflush(fd_, which) == 0 ? 0 : errno;
}

long SerialDevice::Read(uint8_t* data, size_t length, int* err) {
  for (;;) {
    ssize_t n = read(fd_, data, length);
    if (n >= 0) return static_cast<long>(n);
    if (errno == EINTR) continue;
    if (errno == EAGAIN) return 0;
    if (err) *err = errno;
    return -1;
  }
}

SerialDevice::WriteResult SerialDevice::WriteAll(const uint8_t* data, size_t length, int timeoutMs,
                                                 int cancelFd, int closeFd, size_t& written,
                                                 int* err) {
  written = 0;
  if (fd_ < 0) {
    if (err) *err = EBADF;
    return WriteResult::Error;
  }
  int64_t deadline = timeoutMs < 0 ? -1 : SteadyMs() + timeoutMs;
  while (written < length) {
    ssize_t w = write(fd_, data + written, length - written);
    if (w > 0) {
      written += static_cast<size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno != EAGAIN) {
      if (err) *err = errno;
      return WriteResult::Error;
    }
    // The driver's buffer is full: wait for room, the cancel event or the close.
    pollfd fds[3] = {{fd_, POLLOUT, 0}, {cancelFd, POLLIN, 0}, {closeFd, POLLIN, 0}};
    int wait = -1;
    if (deadline >= 0) {
      int64_t left = deadline - SteadyMs();
      if (left <= 0) return WriteResult::Timeout;
      wait = static_cast<int>(left);
    }
    int r = poll(fds, 3, wait);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      if (err) *err = errno;
      return WriteResult::Error;
    }
    if (r == 0) return WriteResult::Timeout;
    if (fds[2].revents) return WriteResult::Closed;
    if (fds[1].revents) return WriteResult::Cancelled;
    if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
      if (err) *err = EIO;
      return WriteResult::Error;
    }
  }
  return WriteResult::Done;
}

}  // namespace platform
