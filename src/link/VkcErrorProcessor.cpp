#include "link/VkcErrorProcessor.h"

#include <algorithm>
#include <cstdarg>

#include "link/Format.h"
#include "link/Utf.h"

void VkcErrorProcessor::ReportError(uint32_t code, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = StrVPrintf(format, args);
  va_end(args);
  ReportText(code, text);
}

void VkcErrorProcessor::ReportText(uint32_t code, const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.push_back({text, code});
  while (entries_.size() > kMaxEntries) {
    entries_.pop_front();
    ++dropped_;
  }
}

std::string VkcErrorProcessor::GetTextUtf8() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return TextLocked();
}

namespace {
std::string OneRow(const std::string& text) {
  std::string row;
  row.reserve(text.size());
  for (char c : text) {
    if (c == '\r') {
      row += "\\r";
    } else if (c == '\n') {
      row += "\\n";
    } else {
      row += c;
    }
  }
  return row;
}
}  // namespace

std::string VkcErrorProcessor::TextLocked(bool oneRowEach) const {
  std::string out;
  size_t number = 0;
  for (const auto& e : entries_) {
    const std::string text = oneRowEach ? OneRow(e.text) : e.text;
    out += StrPrintf("%zu) Error #%d - %s\r\n", ++number, static_cast<int>(e.code), text.c_str());
  }
  return out;
}

std::u16string VkcErrorProcessor::GetText() const { return Utf8ToUtf16(GetTextUtf8()); }

std::u16string VkcErrorProcessor::GetText(uint64_t& mark, bool oneRowEach) const {
  std::lock_guard<std::mutex> lock(mutex_);
  mark = dropped_ + entries_.size();
  return Utf8ToUtf16(TextLocked(oneRowEach));
}

size_t VkcErrorProcessor::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_.size();
}

std::deque<ErrorEntry> VkcErrorProcessor::Entries() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_;
}

void VkcErrorProcessor::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
  dropped_ = 0;
}

void VkcErrorProcessor::ClearThrough(uint64_t mark) {
  std::lock_guard<std::mutex> lock(mutex_);
  // Entries dropped for the limit since the mark was taken were covered by it too.
  const uint64_t covered = mark > dropped_ ? mark - dropped_ : 0;
  entries_.erase(entries_.begin(), entries_.begin() + static_cast<ptrdiff_t>(std::min<uint64_t>(covered, entries_.size())));
  dropped_ = 0;
}

VkcErrorProcessor& ErrorLog() {
  static VkcErrorProcessor log;
  return log;
}
