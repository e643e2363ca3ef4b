#include "app/VkcDataExchange.h"

#include <charconv>
#include <limits>

#include "app/PageControls.h"

namespace {
std::string Fill(std::string text, const std::string& one, const std::string& two) {
  auto replace = [&](const char* key, const std::string& with) {
    const size_t at = text.find(key);
    if (at != std::string::npos) text.replace(at, 2, with);
  };
  replace("%1", one);
  replace("%2", two);
  return text;
}
}  // namespace

std::string VkcDataExchange::RangeMessage(int64_t min, int64_t max) {
  return Fill("Enter an integer between %1 and %2.", std::to_string(min), std::to_string(max));
}

std::string VkcDataExchange::LengthMessage(size_t maxChars) {
  return Fill("Enter no more than %1 characters.", std::to_string(maxChars), {});
}

bool VkcDataExchange::ParseInt(std::u16string_view text, int64_t& out) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  size_t begin = 0, end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  if (begin == end || end - begin > 24) return false;
  std::string narrow;
  for (size_t i = begin; i < end; ++i) {
    const char16_t c = text[i];
    if (!((c >= u'0' && c <= u'9') || ((c == u'-' || c == u'+') && i == begin))) return false;
    if (c != u'+') narrow.push_back(static_cast<char>(c));
  }
  int64_t value = 0;
  auto [ptr, ec] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  if (ec != std::errc() || ptr != narrow.data() + narrow.size()) return false;
  out = value;
  return true;
}

void VkcDataExchange::Fail(int controlId, std::string message) {
  if (failedControl_ != 0) return;
  failedControl_ = controlId == 0 ? -1 : controlId;
  message_ = std::move(message);
}

void VkcDataExchange::Int(int controlId, std::u16string_view text, int64_t min, int64_t max, int64_t& value) {
  int64_t parsed = 0;
  if (!ParseInt(text, parsed)) return Fail(controlId, RangeMessage(min, max));
  value = parsed;
  if (parsed < min || parsed > max) Fail(controlId, RangeMessage(min, max));
}

void VkcDataExchange::Int(int controlId, std::u16string_view text, int min, int max, int& value) {
  int64_t wide = value;
  Int(controlId, text, static_cast<int64_t>(min), static_cast<int64_t>(max), wide);
  if (wide >= std::numeric_limits<int>::min() && wide <= std::numeric_limits<int>::max())
    value = static_cast<int>(wide);
}

void VkcDataExchange::Text(int controlId, std::u16string_view text, size_t maxChars, std::u16string& value) {
  value.assign(text);
  if (text.size() > maxChars) Fail(controlId, LengthMessage(maxChars));
}

void VkcDataExchange::Int(int controlId, int min, int max, int& value) {
  Int(controlId, controls_ ? controls_->Text(controlId) : std::u16string(), min, max, value);
}

void VkcDataExchange::Int(int controlId, int64_t min, int64_t max, int64_t& value) {
  Int(controlId, controls_ ? controls_->Text(controlId) : std::u16string(), min, max, value);
}

void VkcDataExchange::Text(int controlId, size_t maxChars, std::u16string& value) {
  Text(controlId, controls_ ? controls_->Text(controlId) : std::u16string(), maxChars, value);
}

void VkcDataExchange::Text(int controlId, std::u16string& value) {
  if (controls_) value = controls_->Text(controlId);
}

void VkcDataExchange::Check(int controlId, bool& value) {
  if (controls_) value = controls_->Checked(controlId);
}

void VkcDataExchange::Index(int controlId, int& value) {
  if (controls_) value = controls_->Selection(controlId);
}

void VkcDataExchange::Value(int controlId, int& value) {
  if (controls_) value = controls_->Value(controlId);
}
