#pragma once
// The port over a serial device (also a Bluetooth rfcomm port or, in tests, a pseudo-terminal).
// One reader thread per open port hands received bytes (at most 100 per call) to the listeners.
//
// Closing: Close stops and joins the reader, makes writers blocked on a full line give up, waits
// until no other thread uses the descriptor, and only then closes it, so a descriptor number is
// never reused under a thread still using it. When the device goes away the reader logs it, posts
// "closed" (1044 with 2) to the owner and ends; it never closes its own port: the owner calls
// Close, which then posts nothing more.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "link/VkcComPort.h"
#include "platform/Event.h"
#include "platform/SerialDevice.h"
#include "platform/WorkerThread.h"

class VkcSerialPort : public VkcComPort {
 public:
  static constexpr size_t kReadChunk = 100;

  explicit VkcSerialPort(ListenerRegistry* registry = nullptr);
  ~VkcSerialPort() override;

  bool Open(const std::u16string& name, uint32_t baud, int dataBits, int parity, int stopBits) override;
  bool SetOwnerWindow(platform::WindowHandle window) override;
  bool Reopen() override;
  bool Close() override;
  int Write(const void* data, int length, VkcComPortInterface* listenerToSkip, int timeoutMs,
            platform::Event* cancelEvent) override;
  uint32_t GetReplyTimeout() const override;
  uint32_t GetLongTimeout() const override;
  bool SetRTS(bool on) override;
  bool GetRTS() const override { return rts_.load(); }
  bool SetBaudRate(uint32_t baud) override;
  uint32_t GetBaudRate() const override { return baud_.load(); }
  bool SetFlowControl(uint32_t mode) override;
  uint32_t GetFlowControl() const override { return flow_.load(); }
  bool SetEventMask(uint32_t mask) override;
  uint32_t GetModemStatus() const override;
  bool SetDTR(bool on) override;
  bool GetDTR() const override { return dtr_.load(); }
  // Open and the device still there.
  bool IsOpen() const override;
  std::u16string GetPortName() const override;
  void GetShortPortName(std::u16string& out) const override;
  void RunReceiveLoop(platform::Event& stop) override;

 private:
  enum class LineRequest { Rts, Dtr, Baud };
  // The shared part of the RTS, DTR and rate requests. value: the line state or the rate.
  bool LineOperation(LineRequest request, uint32_t value, int& error);
  bool HeldByCtsLocked() const;
  bool CloseInternal(bool postClosed);
  void ReportHangUp(int err);
  void Post(PortStatus status) const;

  std::atomic<bool> dtr_{false};
  std::atomic<bool> rts_{true};
  std::atomic<uint32_t> flow_{0};
  std::atomic<uint32_t> baud_{115200};
  std::atomic<uint32_t> eventMask_{0};
  std::atomic<platform::WindowHandle> owner_{platform::kNoWindow};

  // Shared by every user of the descriptor (writes, line requests); exclusive to open and close it.
  mutable std::shared_mutex io_;
  std::mutex lineLock_;  // one settings change at a time (inside io_)
  platform::SerialDevice device_;
  std::u16string name_;  // guarded by io_
  std::atomic<bool> open_{false};
  std::atomic<bool> hungUp_{false};
  std::atomic<bool> txPending_{false};
  platform::Event closing_{platform::Event::ResetMode::Manual};
  platform::WorkerThread reader_;
};
