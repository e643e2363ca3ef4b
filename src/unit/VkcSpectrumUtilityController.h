#pragma once
// The spectrum scan: a worker switches the unit to its command line, starts the built-in spectrum
// analyser as beacon master and, while it runs, this object listens to the port and collects the
// sample stream into the scan data. The page is told by message 1043:
//   0 the run failed (the text is the scan data's message), 1 the analyser runs, 2 new samples
//   (every 2 s while running), 3 the worker has ended (always last).

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "link/VkcComPortInterface.h"
#include "platform/Messages.h"
#include "platform/WorkerThread.h"
#include "unit/SpectrumSampleStream.h"

class SpectrumScanData;
class VkcSystem;

class VkcSpectrumUtilityController : public VkcComPortInterface {
 public:
  enum Result : uint32_t {
    kOk = 0,
    kNoStartReply = 1,
    kStartRefused = 2,
    kNoStopReply = 3,
    kStopRefused = 4,
    kNoMemory = 5,
    kNoCommandMode = 6,
  };
  enum Notice : intptr_t { kFailed = 0, kStarted = 1, kSamples = 2, kEnded = 3 };
  static constexpr uint32_t kRedrawMs = 2000;

  VkcSpectrumUtilityController(VkcSystem& system, SpectrumScanData& data);
  ~VkcSpectrumUtilityController() override;

  // Stores the window; starts a scan when none is receiving, else asks the running one to stop.
  void StartStop(platform::WindowHandle window);
  bool IsReceiving() const { return receiving_.load(); }
  bool IsRunning() const { return worker_.IsRunning(); }
  // Waits for an ended worker (after message 3).
  void Join() { worker_.Join(); }

  void OnDataReceived(const uint8_t* data, size_t length, VkcComPort* port) override;

 private:
  bool StartThread();
  void ThreadProc(platform::Event& stop);
  uint32_t Run(platform::Event& stop);
  uint32_t StartAnalyser();
  uint32_t StopAnalyser();
  void RefreshRoute();
  void ApplyStoredRoute();
  void Post(Notice notice);

  VkcSystem& system_;
  SpectrumScanData& data_;
  std::atomic<platform::WindowHandle> window_{platform::kNoWindow};
  std::atomic<bool> receiving_{false};
  std::atomic<VkcComPort*> listened_{nullptr};
  std::mutex streamLock_;
  SpectrumSampleStream stream_;
  platform::WorkerThread worker_;
};

// The unit's spectrum controller, made with its scan data on first use.
VkcSpectrumUtilityController& EnsureSpectrumController(VkcSystem& system);
