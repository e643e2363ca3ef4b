#pragma once
// Locks with the names the program's code uses. Both meet BasicLockable, so std::lock_guard and
// std::scoped_lock work with them.

#include <mutex>

namespace platform {

// Recursive: the owning thread may enter again, as with the critical sections the code was written for.
class CriticalSection {
 public:
  void lock() { m_.lock(); }
  void unlock() { m_.unlock(); }
  bool try_lock() { return m_.try_lock(); }
  void Lock() { lock(); }
  void Unlock() { unlock(); }

 private:
  std::recursive_mutex m_;
};

class Mutex {
 public:
  void lock() { m_.lock(); }
  void unlock() { m_.unlock(); }
  bool try_lock() { return m_.try_lock(); }
  void Lock() { lock(); }
  void Unlock() { unlock(); }

 private:
  std::mutex m_;
};

}  // namespace platform
