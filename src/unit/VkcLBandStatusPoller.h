#pragma once
// The L-band status poll: while it runs, a worker reads the receiver's status every 2 s or more on
// the unit's command line (signal level, frequency, symbol rate, unique-word lock, signal quality,
// bit error rate, service identifier) and returns the unit to data mode between polls. The texts
// are kept under a lock and the page is told by message 1041: 1 new texts, 0 the worker has ended.
//
// The steps around a run (route and command mode before, data mode and the stored route after)
// are this object's task operations, so the page can run them in the progress dialog.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "link/VkiPostProcess.h"
#include "platform/Messages.h"
#include "platform/WorkerThread.h"

class VkcSystem;

class VkcLBandStatusPoller : public VkiPostProcess {
 public:
  enum Operation : uint32_t {
    kOpBegin = 0,  // MCU route refreshed, command mode; 1 when the unit does not switch
    kOpEnd = 1,    // data mode (unless a poll left it so) and the stored MCU route; always 0
  };
  enum Notice : intptr_t { kEnded = 0, kPolled = 1 };
  static constexpr uint32_t kPollMs = 2000;
  static constexpr uint32_t kWaitMs = 1000;
  // The value QueryRadioInt gives for a query without a valid reply.
  static constexpr int kNoValue = 65535;

  struct Texts {
    std::string rssi;
    std::string frequency;
    std::string symbolRate;
    std::string sync;
    std::string quality;
    std::string ber;
    std::string rsid;
    bool operator==(const Texts&) const = default;
  };

  explicit VkcLBandStatusPoller(VkcSystem& system);
  ~VkcLBandStatusPoller() override;

  uint32_t Process(uint32_t operation, intptr_t parameter, platform::WindowHandle notify,
                   platform::Event& stop) override;
  bool Begin();
  void End();

  // Starts polling for window; false when a worker is still there.
  bool Start(platform::WindowHandle window);
  void Stop() { worker_.RequestStop(); }
  // Waits for an ended worker (after message 1041/0).
  void Join() { worker_.Join(); }
  bool IsRunning() const { return worker_.IsRunning(); }
  // False when the last run ended because the unit did not switch to its command line.
  bool WasAnswered() const { return answered_.load(); }
  void SetAnswered() { answered_.store(true); }
  // The next poll first resets the unit's bit error rate counter.
  void RequestResetBer() { resetBer_.store(true); }
  bool IsResetBerRequested() const { return resetBer_.load(); }
  Texts GetTexts() const;

  // "9752.38", "4576.19", "2438.095", "1219.047", "609.524" for 1..5; "Not Recognized" otherwise.
  static std::string SymbolRateText(int value);

 private:
  void PollThreadProc(platform::Event& stop);
  // One poll; false when it ended the run.
  bool PollStatus(platform::Event& stop);

  VkcSystem& system_;
  std::atomic<platform::WindowHandle> window_{platform::kNoWindow};
  std::atomic<bool> answered_{true};
  std::atomic<bool> resetBer_{false};
  std::atomic<bool> commandMode_{false};  // the unit was last switched to its command line
  mutable std::mutex textsLock_;
  Texts texts_;
  platform::WorkerThread worker_;
};
