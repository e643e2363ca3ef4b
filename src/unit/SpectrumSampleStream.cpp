#include "unit/SpectrumSampleStream.h"

#include <charconv>
#include <cmath>

double SpectrumSampleStream::ReadNumber(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n')) ++at;
  if (at < text.size() && text[at] == '+') ++at;
  double value = 0.0;
  auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), value);
  (void)end;
  if (ec != std::errc() || !std::isfinite(value)) return 0.0;
  return value;
}

bool SpectrumSampleStream::ParseLine(std::string_view line, double& frequency, double& level) {
  const size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return false;
  frequency = ReadNumber(line.substr(0, tab));
  level = ReadNumber(line.substr(tab + 1));
  return true;
}

void SpectrumSampleStream::Feed(const uint8_t* data, size_t length, const Sink& sink) {
  for (size_t i = 0; i < length; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\r') {
      double frequency = 0.0;
      double level = 0.0;
      if (!overlong_ && ParseLine(tail_, frequency, level)) sink(frequency, level);
      tail_.clear();
      overlong_ = false;
    } else if (overlong_ || (c == '\n' && tail_.empty())) {
      // The rest of an overlong line, or the LF of a CR LF ending.
    } else if (tail_.size() < kMaxLine) {
      tail_.push_back(c);
    } else {
      tail_.clear();
      overlong_ = true;
    }
  }
}
