#pragma once
// A port listener that keeps every byte it receives, for tests that check what a port delivered.
// The test registers it with the group it needs.

#include <mutex>
#include <string>

#include "link/VkcComPortInterface.h"

namespace sim {

class TextListener : public VkcComPortInterface {
 public:
  void OnDataReceived(const uint8_t* data, size_t length, VkcComPort*) override {
    std::lock_guard<std::mutex> g(m_);
    text_.append(reinterpret_cast<const char*>(data), length);
  }
  std::string Text() const {
    std::lock_guard<std::mutex> g(m_);
    return text_;
  }

 private:
  mutable std::mutex m_;
  std::string text_;
};

}  // namespace sim
