#pragma once
// A pseudo-terminal whose far (master) side is joined to another descriptor: an lrzsz socket, or
// the master side of a second relay's pseudo-terminal. The program opens SlavePath() as its serial
// port; the relay never touches the slave's terminal settings after making it raw at creation.
// Optionally paced: bytes pass at a fixed rate each way (a serial line: rate / 10 bytes a second).

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/Event.h"
#include "platform/WorkerThread.h"

namespace sim {

class SimXmodRelay {
 public:
  SimXmodRelay();
  ~SimXmodRelay();
  SimXmodRelay(const SimXmodRelay&) = delete;
  SimXmodRelay& operator=(const SimXmodRelay&) = delete;

  bool IsOk() const { return master_ >= 0; }
  const std::string& SlavePath() const { return slavePath_; }
  std::u16string SlavePath16() const;
  int MasterFd() const { return master_; }

  // Copies between the master side and peerFd both ways until Stop. bytesPerSecond 0: unpaced.
  bool Start(int peerFd, uint32_t bytesPerSecond = 0);
  void Stop();
  uint64_t BytesRelayed() const { return relayed_.load(); }

 private:
  void Run(platform::Event& stop);

  int master_ = -1;
  int slaveHold_ = -1;
  int peer_ = -1;
  uint32_t bytesPerSecond_ = 0;
  std::string slavePath_;
  std::atomic<uint64_t> relayed_{0};
  platform::WorkerThread thread_;
};

}  // namespace sim
