#pragma once
// A serial device over termios, opened the way a COM port is: exclusively (TIOCEXCL plus a
// non-blocking flock, since root passes TIOCEXCL), non-blocking, raw. Results are 0 or an errno
// value. Modem-line requests that the device does not support (ENOTTY/EINVAL, as on a
// pseudo-terminal) succeed and mark the lines unsupported.
//
// Not thread-safe by itself: the owner makes sure the descriptor is closed only when no other
// thread uses it (the reader has ended and no write is in progress).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class SerialDevice {
 public:
  // Parity codes as the unit settings store them: 0 none, 1 odd, 2 even, 3 mark, 4 space.
  // Stop bits: 0 one, 1 one and a half (two here: termios has no 1.5), 2 two.
  SerialDevice() = default;
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  int Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  // Drops unsent output (a close would wait for it), releases the lock and closes.
  void Close();

  // Which step of a settings change failed: reading the settings or writing them back.
  enum class Stage { None, Read, Write };
  // Raw mode, no flow control, VMIN 0 / VTIME 0, the given character format and rate.
  // Data bits outside 5..8 are taken as 8.
  int Configure(uint32_t baud, int dataBits, int parity, int stopBits, Stage* failed = nullptr);
  int SetBaudRate(uint32_t baud);
  // 0 none (IXOFF left as it is), 1 XON/XOFF both ways, 2 RTS/CTS.
  int SetFlowControl(uint32_t mode, Stage* failed = nullptr);

  // TIOCM_RTS / TIOCM_DTR.
  int SetModemLine(int line, bool on);
  // Modem status as MS_CTS_ON 0x10, MS_DSR_ON 0x20, MS_RING_ON 0x40, MS_RLSD_ON 0x80.
  int GetModemStatus(uint32_t& status);
  bool ModemLinesSupported() const { return modemLines_.load(); }
  int OutputQueue(int& bytes);
  int Purge(bool input, bool output);

  // Reads up to length bytes without blocking: > 0 bytes read, 0 nothing waiting, -1 error
  // (errno in *err; EIO means the device went away). A raw tty (VMIN 0, VTIME 0) answers 0 both
  // when nothing is waiting and after a hang-up: poll's POLLHUP tells them apart.
  long Read(uint8_t* data, size_t length, int* err);

  enum class WriteResult { Done, Timeout, Cancelled, Closed, Error };
  // Writes every byte. Waits for room up to timeoutMs (< 0: no limit); ends early when cancelFd
  // or closeFd (either may be -1) becomes readable. written gets the bytes taken by the device.
  WriteResult WriteAll(const uint8_t* data, size_t length, int timeoutMs, int cancelFd, int closeFd,
                       size_t& written, int* err);

 private:
  int ApplyRate(uint32_t baud);

  int fd_ = -1;
  uint32_t baud_ = 0;
  std::atomic<bool> modemLines_{true};  // the reader and the writers both learn it
};

}  // namespace platform
