#pragma once
// A text mailbox that carries running text from a worker to a window: the worker appends and
// posts 2024 with 5 and the mailbox's address; the window takes the whole text out. The mailbox
// must outlive the handling of every message that names it.

#include <mutex>
#include <string>
#include <string_view>

class VkcLogMessage {
 public:
  // Appends the text (UTF-8). Returns the mailbox, for chaining.
  VkcLogMessage& Append(std::string_view text);
  // Appends length bytes of text, or up to its NUL when length is -1.
  VkcLogMessage& Append(const char* text, int length);
  // The whole text (UTF-16), emptying the mailbox.
  std::u16string TakeText();
  std::string TakeTextUtf8();
  void Clear();

 private:
  std::mutex mutex_;
  std::string text_;
};

// The process-wide mailbox.
VkcLogMessage& GlobalLogMessage();
