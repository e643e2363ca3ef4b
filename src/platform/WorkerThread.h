#pragma once
// A worker thread that owns its stop event. It is never detached or killed: every wait in the
// body is bounded and watches the stop event, so the thread always ends; the owner joins it with a
// bound, is told when the bound passes (to log it), and keeps joining.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "platform/Event.h"

namespace platform {

class WorkerThread {
 public:
  explicit WorkerThread(Event::ResetMode stopMode = Event::ResetMode::Manual);
  // Requests a stop and joins.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts the body on a new thread; the stop event is reset first. False when already running
  // or when the system cannot start a thread (never an exception).
  bool Start(std::function<void(Event& stop)> body);
  // Why the last Start could not make a thread (empty when it could).
  const std::string& StartError() const { return startError_; }
  // Tests: the next count starts fail as if the system had no thread to give.
  static void FailNextStartsForTesting(int count);
  Event& StopEvent() { return stop_; }
  // Set when the body has returned.
  Event& FinishedEvent() { return finished_; }
  void RequestStop() { stop_.Set(); }
  // True from Start until the body returns.
  bool IsRunning() const { return running_.load(); }
  bool IsCurrentThread() const { return thread_.get_id() == std::this_thread::get_id(); }
  bool Joinable() const { return thread_.joinable(); }

  // Waits up to boundMs for the body to end. Past the bound, calls onOverrun (once) and keeps
  // waiting. Returns true when the thread ended within the bound. Never called from the thread itself.
  bool Join(uint32_t boundMs = kInfinite, const std::function<void()>& onOverrun = {});
  // RequestStop then Join.
  bool Stop(uint32_t boundMs = kInfinite, const std::function<void()>& onOverrun = {});

 private:
  Event stop_;
  Event finished_{Event::ResetMode::Manual, false};
  std::atomic<bool> running_{false};
  std::thread thread_;
  std::string startError_;  // written and read by the thread that starts
};

}  // namespace platform
