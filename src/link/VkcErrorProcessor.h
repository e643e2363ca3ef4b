#pragma once
// The process-wide error log: numbered entries of a code and a text, kept in memory and listed
// in the error-message window. Thread-safe. Keeps the newest kMaxEntries entries.

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

struct ErrorEntry {
  std::string text;  // UTF-8
  uint32_t code;     // an errno value, a wait result (258 time-out) or 0
};

class VkcErrorProcessor {
 public:
  static constexpr size_t kMaxEntries = 10000;

  // Formats the printf-style format with its arguments and appends the entry. Any thread.
  [[gnu::format(printf, 3, 4)]] void ReportError(uint32_t code, const char* format, ...);
  void ReportText(uint32_t code, const std::string& text);

  // Every entry kept as "%d) Error #%d - %s\r\n", numbered from 1 (also once the limit has
  // dropped older entries).
  std::u16string GetText() const;
  std::string GetTextUtf8() const;
  // The same text, and in mark what it covers, for a later ClearThrough. With oneRowEach a CR in an
  // entry's text reads "\r" and an LF "\n", so every entry stays one line of the listing.
  std::u16string GetText(uint64_t& mark, bool oneRowEach = false) const;
  size_t Count() const;
  // Copy of the entries (oldest first).
  std::deque<ErrorEntry> Entries() const;
  void Clear();
  // Removes the entries a GetText(mark) covered; entries logged since stay, numbered from 1.
  void ClearThrough(uint64_t mark);

 private:
  std::string TextLocked(bool oneRowEach = false) const;

  mutable std::mutex mutex_;
  std::deque<ErrorEntry> entries_;
  size_t dropped_ = 0;  // entries removed from the front for the limit
};

// The one error log of the process.
VkcErrorProcessor& ErrorLog();
