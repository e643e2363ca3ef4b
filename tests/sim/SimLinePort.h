#pragma once
// A port without a device, for what a pseudo-terminal cannot produce: CTS changes, transmit-empty
// events, modem status. Tests inject received bytes and line events; writes are recorded.
// Protocol exchanges are tested over a pseudo-terminal against SimUnit instead.

#include <mutex>
#include <string>
#include <vector>

#include "link/VkcComPort.h"

namespace sim {

class SimLinePort : public VkcComPort {
 public:
  explicit SimLinePort(ListenerRegistry* registry = nullptr) : VkcComPort(registry) {}

  bool Reopen() override { return true; }
  bool Close() override { return true; }
  int Write(const void* data, int length, VkcComPortInterface* listenerToSkip, int timeoutMs,
            platform::Event* cancelEvent) override;
  uint32_t GetReplyTimeout() const override { return replyTimeoutMs; }
  uint32_t GetLongTimeout() const override { return 5000; }
  bool SetBaudRate(uint32_t baud) override;
  uint32_t GetBaudRate() const override;
  uint32_t GetModemStatus() const override;
  bool IsOpen() const override { return true; }
  void RunReceiveLoop(platform::Event&) override {}

  // Delivery as a receive thread does it (call from any thread).
  void InjectData(const std::string& bytes);
  void InjectEvent(uint32_t mask);
  void SetModemStatus(uint32_t status);

  std::string Written() const;
  std::vector<uint32_t> Rates() const;

  uint32_t replyTimeoutMs = 1500;

 private:
  mutable std::mutex m_;
  std::string written_;
  std::vector<uint32_t> rates_;
  uint32_t baud_ = 115200;
  uint32_t modemStatus_ = 0;
};

}  // namespace sim
