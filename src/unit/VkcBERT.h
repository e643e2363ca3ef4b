#pragma once
// One bit-error-rate test over the current port. Transmit: pattern frames as fast as the port takes
// them, or with a pause after each frame that has left the port. Receive: a listener that locks
// onto the pattern and counts bits, bit errors and lost data. Both run on one worker that every
// 7 seconds reads the unit's statistics in command mode, and report by message 1040 to the window
// given to Prepare (wParam kCounters every pass, kStep after a step, kEnded once at the end).
//
// The pattern register is seeded once: a new transmit run continues the sequence.

#include <atomic>
#include <cstdint>

#include "link/VkcComPortInterface.h"
#include "platform/Event.h"
#include "platform/Locks.h"
#include "platform/Messages.h"
#include "platform/WorkerThread.h"
#include "unit/BertPattern.h"
#include "unit/BertStatistics.h"

class VkcComPort;
class VkcSystem;

class VkcBERT : public VkcComPortInterface {
 public:
  enum Notice : intptr_t { kCounters = 0, kStep = 1, kEnded = 2 };

  // Nominal periods and waits (scaled like every time-out).
  static constexpr uint32_t kStepMs = 7000;
  static constexpr uint32_t kRateMs = 2000;
  static constexpr uint32_t kTxEmptyMs = 1000;
  static constexpr uint32_t kTxSettleMs = 300;
  static constexpr uint32_t kMaxPauseMs = 1000;
  static constexpr uint32_t kDefaultFrameSize = 58;

  explicit VkcBERT(VkcSystem& system);
  ~VkcBERT() override;

  // False while a test runs or without a window. Zeroes the statistics; the pause is clamped to
  // 0..kMaxPauseMs.
  bool Prepare(platform::WindowHandle window, int32_t pauseMs);
  void SetFrameSize(uint32_t bytes);
  // Seconds; 0 or less (or -1) runs until Stop.
  void SetRunningTime(int32_t seconds);
  bool Start(bool transmit);
  bool Stop();
  bool IsRunning() const { return running_.load(); }
  BertStatistics GetStatistics() const;
  // Waits for an ended worker to be gone (the page calls it on kEnded); Start does it too.
  void Join();

  void OnDataReceived(const uint8_t* data, size_t length, VkcComPort* port) override;
  void OnPortEvent(uint32_t eventMask, VkcComPort* port) override;

  bool IsInputIgnored() const { return inputIgnored_.load(); }

 private:
  void ThreadProc(platform::Event& stop);
  void TransmitLoop(platform::Event& stop);
  void ReceiveLoop(platform::Event& stop);
  // The unit's statistics in command mode. False when the test must end.
  bool TransmitStep(platform::Event& stop, int32_t& temperature);
  bool ReceiveStep(platform::Event& stop, int32_t values[3]);
  // Waits until the port's transmitter is empty (bounded), watching stop.
  bool WaitForTxEmpty(platform::Event& stop, uint32_t nominalMs);
  void SetElapsed(uint64_t startUs);
  void Post(Notice notice);

  VkcSystem& system_;
  VkcComPort* port_ = nullptr;
  platform::Event data_{platform::Event::ResetMode::Auto};
  platform::WindowHandle window_ = platform::kNoWindow;
  std::atomic<bool> running_{false};
  bool transmit_ = true;
  BertPattern pattern_;
  uint32_t pauseMs_ = 0;
  uint32_t frameSize_ = kDefaultFrameSize;
  // The reader thread's side: guarded by lock_ (the registry lock is held around it as well).
  bool synchronised_ = false;
  std::atomic<bool> inputIgnored_{false};
  std::atomic<bool> watchCts_{false};
  int32_t runningTime_ = -1;
  BertStatistics stats_;
  mutable platform::CriticalSection lock_;
  platform::WorkerThread worker_;
};
