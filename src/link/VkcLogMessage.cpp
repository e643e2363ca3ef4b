#include "link/VkcLogMessage.h"

#include <cstring>

#include "link/Utf.h"

VkcLogMessage& VkcLogMessage::Append(std::string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  text_.append(text);
  return *this;
}

VkcLogMessage& VkcLogMessage::Append(const char* text, int length) {
  if (!text) return *this;
  size_t n = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
  return Append(std::string_view(text, n));
}

std::string VkcLogMessage::TakeTextUtf8() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string out;
  out.swap(text_);
  return out;
}

std::u16string VkcLogMessage::TakeText() { return Utf8ToUtf16(TakeTextUtf8()); }

void VkcLogMessage::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  text_.clear();
}

VkcLogMessage& GlobalLogMessage() {
  static VkcLogMessage mailbox;
  return mailbox;
}
