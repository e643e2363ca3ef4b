#include "platform/Event.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace platform {

namespace {
// One lock for every event keeps a wait on several events atomic: a waiter checks all of them
// and registers with all of them under the same lock that Set takes.
std::mutex& EventLock() {
  static std::mutex m;
  return m;
}
}  // namespace

// A waiter's registration with one event. All registrations of one waiter share its condition
// variable, so a Set on any of the events wakes it.
struct Event::Waiter {
  std::condition_variable* cv = nullptr;
  Waiter* next = nullptr;
};

Event::Event(ResetMode mode, bool initiallySet) : manual_(mode == ResetMode::Manual), signalled_(initiallySet) {}

Event::~Event() {
  if (fd_ >= 0) ::close(fd_);
}

void Event::SyncFdLocked() {
  if (fd_ < 0) return;
  if (signalled_ && !fdReadable_) {
    uint64_t one = 1;
    ssize_t r = ::write(fd_, &one, sizeof one);
    (void)r;
    fdReadable_ = true;
  } else if (!signalled_ && fdReadable_) {
    uint64_t value = 0;
    ssize_t r = ::read(fd_, &value, sizeof value);
    (void)r;
    fdReadable_ = false;
  }
}

void Event::Set() {
  std::lock_guard<std::mutex> lock(EventLock());
  if (signalled_) return;
  signalled_ = true;
  SyncFdLocked();
  for (Waiter* w = waiters_; w; w = w->next) w->cv->notify_one();
}

void Event::Reset() {
  std::lock_guard<std::mutex> lock(EventLock());
  signalled_ = false;
  SyncFdLocked();
}

bool Event::IsSet() const {
  std::lock_guard<std::mutex> lock(EventLock());
  return signalled_;
}

uint32_t Event::Wait(uint32_t ms) {
  Event* self = this;
  return WaitAny(std::span<Event* const>(&self, 1), ms);
}

int Event::Fd() {
  std::lock_guard<std::mutex> lock(EventLock());
  if (fd_ < 0) {
    fd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    fdReadable_ = false;
    SyncFdLocked();
  }
  return fd_;
}

uint32_t Event::WaitAny(std::span<Event* const> events, uint32_t ms) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
  std::unique_lock<std::mutex> lock(EventLock());

  auto take = [&]() -> int {
    for (size_t i = 0; i < events.size(); ++i) {
      Event* e = events[i];
      if (e && e->signalled_) {
        if (!e->manual_) {
          e->signalled_ = false;
          e->SyncFdLocked();
        }
        return static_cast<int>(i);
      }
    }
    return -1;
  };

  int index = take();
  if (index >= 0) return static_cast<uint32_t>(index);
  if (ms == 0) return kWaitTimeout;

  std::condition_variable cv;
  std::vector<Waiter> nodes(events.size());
  for (size_t i = 0; i < events.size(); ++i) {
    if (!events[i]) continue;
    nodes[i].cv = &cv;
    nodes[i].next = events[i]->waiters_;
    events[i]->waiters_ = &nodes[i];
  }
  for (;;) {
    bool timedOut = false;
    if (ms == kInfinite) {
      cv.wait(lock);
    } else if (cv.wait_until(lock, deadline) == std::cv_status::timeout) {
      timedOut = true;
    }
    index = take();
    if (index >= 0 || timedOut) break;
  }
  for (size_t i = 0; i < events.size(); ++i) {
    if (!events[i]) continue;
    Waiter** link = &events[i]->waiters_;
    while (*link && *link != &nodes[i]) link = &(*link)->next;
    if (*link) *link = nodes[i].next;
  }
  return index >= 0 ? static_cast<uint32_t>(index) : kWaitTimeout;
}

}  // namespace platform
