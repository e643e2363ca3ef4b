#pragma once
// Window messages posted from worker threads. A window is known to workers only by its handle,
// an id in a guarded registry; a post to a handle whose window is gone is dropped. The receiving
// side (the Qt layer for real windows, a recorder in tests) queues the message for its own thread.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace platform {

using WindowHandle = intptr_t;  // 0: no window
constexpr WindowHandle kNoWindow = 0;

// Receives posted messages. Deliver is called with the registry lock held, from any thread: it
// must only queue the message (never block, never post, never unregister).
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Deliver(uint32_t msg, intptr_t wParam, intptr_t lParam) = 0;
};

// Registers a sink and returns its new handle (never reused within the process).
WindowHandle RegisterWindow(MessageSink* sink);
// After this returns, no Deliver to the sink is running or will start.
void UnregisterWindow(WindowHandle handle);
bool IsWindow(WindowHandle handle);

// Queues a message for the window. False (and nothing happens) when the window does not exist.
bool PostMessage(WindowHandle handle, uint32_t msg, intptr_t wParam, intptr_t lParam);

struct PostedMessage {
  uint32_t msg;
  intptr_t wParam;
  intptr_t lParam;
  bool operator==(const PostedMessage&) const = default;
};

// A window for tests and for windowless owners: records every message it receives.
class RecordingWindow : public MessageSink {
 public:
  RecordingWindow();
  ~RecordingWindow() override;
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;

  WindowHandle Handle() const { return handle_; }
  void Deliver(uint32_t msg, intptr_t wParam, intptr_t lParam) override;

  std::vector<PostedMessage> Messages() const;
  // Messages with the given number, in order.
  std::vector<PostedMessage> Messages(uint32_t msg) const;
  void Clear();
  // Waits until pred holds for the recorded messages, or ms pass. Returns whether it holds.
  bool WaitFor(const std::function<bool(const std::vector<PostedMessage>&)>& pred, uint32_t ms) const;
  // Waits for a message with this number (and first parameter, when given) to have arrived.
  bool WaitForMessage(uint32_t msg, uint32_t ms) const;
  bool WaitForMessage(uint32_t msg, intptr_t wParam, uint32_t ms) const;

 private:
  WindowHandle handle_;
  mutable std::mutex mutex_;
  mutable std::condition_variable cv_;
  std::vector<PostedMessage> messages_;
};

}  // namespace platform
