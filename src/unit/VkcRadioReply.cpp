#include "unit/VkcRadioReply.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

VkcRadioReply ParseRadioReply(std::string_view reply) {
  VkcRadioReply out;
  for (size_t i = 0; i + 1 < reply.size(); ++i) {
    if (reply[i] != '@' || !IsDigit(reply[i + 1])) continue;
    out.value.assign(reply.substr(0, i));
    out.code = ParseLeadingInt(reply.substr(i + 1));
    return out;
  }
  out.value.assign(reply);
  return out;
}

int ParseLeadingInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int>::max()} + 1;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) value = std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

int64_t ParseFrequencyHz(std::string_view text) {
  // strtod semantics (white space, sign, digits, fraction, exponent) without the locale.
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  double value = 0;
  auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                   std::chars_format::general);
  if (ec == std::errc::result_out_of_range) value = std::numeric_limits<double>::max();
  else if (ec != std::errc()) return 0;
  (void)ptr;
  if (std::isnan(value)) return 0;
  if (negative) value = -value;
  std::string upper;
  upper.reserve(text.size());
  for (char c : text) upper += ToUpper(c);
  if (upper.find("MHZ") != std::string::npos) value *= 1e6;
  value = std::round(value);
  constexpr double kMax = 9.2e18;
  if (!(value < kMax)) return std::numeric_limits<int64_t>::max();
  if (!(value > -kMax)) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

std::string CutAtLineEnd(std::string_view text) {
  size_t end = text.find("\r\n");
  return std::string(text.substr(0, end));
}
