#pragma once
// A waitable event with the semantics the program's workers were written for: manual or
// automatic reset, waits with a time-out in milliseconds, and a wait on several events at once
// that answers the index of the first signalled one or kWaitTimeout.

#include <cstdint>
#include <initializer_list>
#include <span>

namespace platform {

constexpr uint32_t kWaitTimeout = 258;        // the result of a wait that timed out
constexpr uint32_t kInfinite = 0xFFFFFFFFu;    // wait without a time-out

class Event {
 public:
  enum class ResetMode { Manual, Auto };

  explicit Event(ResetMode mode = ResetMode::Manual, bool initiallySet = false);
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  // Signals the event. Idempotent. An auto-reset event then releases exactly one waiter.
  void Set();
  void Reset();
  // True while signalled (does not consume an auto-reset signal).
  bool IsSet() const;
  // 0 when signalled within ms, kWaitTimeout otherwise. Consumes an auto-reset signal.
  uint32_t Wait(uint32_t ms);

  // Waits until one of the events is signalled: its index, or kWaitTimeout. When several are
  // signalled, the lowest index wins. Only the returned event's auto-reset signal is consumed.
  static uint32_t WaitAny(std::span<Event* const> events, uint32_t ms);
  static uint32_t WaitAny(std::initializer_list<Event*> events, uint32_t ms) {
    return WaitAny(std::span<Event* const>(events.begin(), events.size()), ms);
  }

  // A descriptor that poll() sees readable while the event is signalled, so a poll loop can
  // wait on a port and on this event together. After poll reports it, call Wait(0) to take an
  // auto-reset signal. Created on first use; owned by the event.
  int Fd();

 private:
  struct Waiter;
  void SyncFdLocked();

  const bool manual_;
  bool signalled_;
  int fd_ = -1;
  bool fdReadable_ = false;
  Waiter* waiters_ = nullptr;  // intrusive list, guarded by the process-wide event lock
};

}  // namespace platform
