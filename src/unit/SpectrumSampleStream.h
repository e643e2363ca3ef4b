#pragma once
// The spectrum analyser's sample stream: lines "<frequency>\t<level>" ended by CR (an LF after it
// is tolerated). Every complete line of every chunk is taken; the incomplete tail is kept for the
// next chunk, so a line cut across two reads gives one correct sample. A line without a tab is
// dropped; a number that cannot be read (or is not finite) counts as 0.0.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class SpectrumSampleStream {
 public:
  using Sink = std::function<void(double frequency, double level)>;
  // A tail that grows this long without a CR is noise, not a sample: it is dropped.
  static constexpr size_t kMaxLine = 256;

  // Appends the bytes and hands every complete sample line to sink, in order.
  void Feed(const uint8_t* data, size_t length, const Sink& sink);
  void Clear() {
    tail_.clear();
    overlong_ = false;
  }
  size_t PendingBytes() const { return tail_.size(); }

  // One line without its CR. False when it holds no tab.
  static bool ParseLine(std::string_view line, double& frequency, double& level);
  // The leading real number in the "C" locale after blanks and an optional '+'; 0.0 when unreadable.
  static double ReadNumber(std::string_view text);

 private:
  std::string tail_;
  bool overlong_ = false;  // dropping a line that passed kMaxLine, up to its CR
};
