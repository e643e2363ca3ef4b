#pragma once
// Helpers shared by the test suites.

#include <chrono>
#include <functional>
#include <string>

namespace testsupport {

// A fresh folder under /tmp, removed with its content when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Polls pred every millisecond until it holds or ms pass. Returns whether it holds.
bool WaitUntil(const std::function<bool()>& pred, int ms);

}  // namespace testsupport
