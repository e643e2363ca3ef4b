#include "platform/WorkerThread.h"

#include <system_error>

namespace platform {

namespace {
std::atomic<int> failStarts{0};
}  // namespace

void WorkerThread::FailNextStartsForTesting(int count) { failStarts.store(count); }

WorkerThread::WorkerThread(Event::ResetMode stopMode) : stop_(stopMode) {}

WorkerThread::~WorkerThread() { Stop(); }

bool WorkerThread::Start(std::function<void(Event& stop)> body) {
  if (running_.load()) return false;
  if (thread_.joinable()) thread_.join();  // an earlier run that has already ended
  stop_.Reset();
  finished_.Reset();
  running_.store(true);
  startError_.clear();
  try {
    if (failStarts.load() > 0 && failStarts.fetch_sub(1) > 0)
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    thread_ = std::thread([this, body = std::move(body)]() {
      body(stop_);
      running_.store(false);
      finished_.Set();
    });
  } catch (const std::system_error& e) {
    // No thread could be made: nothing runs, and a later Start may try again.
    startError_ = e.what();
    running_.store(false);
    return false;
  }
  return true;
}

bool WorkerThread::Join(uint32_t boundMs, const std::function<void()>& onOverrun) {
  if (!thread_.joinable()) return true;
  if (IsCurrentThread()) return false;
  bool inBound = finished_.Wait(boundMs) == 0;
  if (!inBound && onOverrun) onOverrun();
  thread_.join();
  return inBound;
}

bool WorkerThread::Stop(uint32_t boundMs, const std::function<void()>& onOverrun) {
  RequestStop();
  return Join(boundMs, onOverrun);
}

}  // namespace platform
