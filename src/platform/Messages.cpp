#include "platform/Messages.h"

#include <chrono>
#include <unordered_map>

namespace platform {

namespace {
struct Registry {
  std::mutex mutex;
  std::unordered_map<WindowHandle, MessageSink*> sinks;
  WindowHandle next = 1;
};
Registry& GetRegistry() {
  static Registry r;
  return r;
}
}  // namespace

WindowHandle RegisterWindow(MessageSink* sink) {
  Registry& r = GetRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  WindowHandle h = r.next++;
  r.sinks[h] = sink;
  return h;
}

void UnregisterWindow(WindowHandle handle) {
  Registry& r = GetRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.sinks.erase(handle);
}

bool IsWindow(WindowHandle handle) {
  Registry& r = GetRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.sinks.count(handle) != 0;
}

bool PostMessage(WindowHandle handle, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  Registry& r = GetRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.sinks.find(handle);
  if (it == r.sinks.end()) return false;
  it->second->Deliver(msg, wParam, lParam);
  return true;
}

RecordingWindow::RecordingWindow() : handle_(RegisterWindow(this)) {}

RecordingWindow::~RecordingWindow() { UnregisterWindow(handle_); }

void RecordingWindow::Deliver(uint32_t msg, intptr_t wParam, intptr_t lParam) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({msg, wParam, lParam});
  }
  cv_.notify_all();
}

std::vector<PostedMessage> RecordingWindow::Messages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

std::vector<PostedMessage> RecordingWindow::Messages(uint32_t msg) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<PostedMessage> out;
  for (const auto& m : messages_)
    if (m.msg == msg) out.push_back(m);
  return out;
}

void RecordingWindow::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  messages_.clear();
}

bool RecordingWindow::WaitFor(const std::function<bool(const std::vector<PostedMessage>&)>& pred,
                              uint32_t ms) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return cv_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return pred(messages_); });
}

bool RecordingWindow::WaitForMessage(uint32_t msg, uint32_t ms) const {
  return WaitFor(
      [msg](const std::vector<PostedMessage>& all) {
        for (const auto& m : all)
          if (m.msg == msg) return true;
        return false;
      },
      ms);
}

bool RecordingWindow::WaitForMessage(uint32_t msg, intptr_t wParam, uint32_t ms) const {
  return WaitFor(
      [msg, wParam](const std::vector<PostedMessage>& all) {
        for (const auto& m : all)
          if (m.msg == msg && m.wParam == wParam) return true;
        return false;
      },
      ms);
}

}  // namespace platform
