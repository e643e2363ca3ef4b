#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

namespace testsupport {

TempDir::TempDir() {
  std::string tmpl = "/tmp/modulink-test-XXXXXX";
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  const char* p = ::mkdtemp(buf.data());
  path_ = p ? p : "/tmp";
}

TempDir::~TempDir() {
  std::error_code ec;
  if (path_ != "/tmp") std::filesystem::remove_all(path_, ec);
}

bool WaitUntil(const std::function<bool()>& pred, int ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= end) return pred();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace testsupport
