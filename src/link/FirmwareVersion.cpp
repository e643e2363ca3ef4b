#include "link/FirmwareVersion.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "link/AsciiClass.h"

namespace {

constexpr int32_t kFirstLettered = 100;
constexpr int32_t kLetterOffset = 35;  // 'A' + 35 = 100

bool SameKind(int32_t a, int32_t b) { return (a < kFirstLettered) == (b < kFirstLettered); }

// Decimal digits of [begin, end), saturating at INT32_MAX.
template <typename Ch>
int32_t DigitsValue(const Ch* begin, const Ch* end) {
  int64_t v = 0;
  for (const Ch* p = begin; p != end && ascii::IsDigit(*p); ++p) {
    v = std::min<int64_t>(v * 10 + (*p - Ch('0')), std::numeric_limits<int32_t>::max());
  }
  return static_cast<int32_t>(v);
}

// A field read as atoi would: leading white space, a sign, digits; anything else gives 0.
template <typename Ch>
int32_t FieldValue(std::basic_string_view<Ch> field) {
  size_t i = 0;
  while (i < field.size() && ascii::IsSpace(field[i])) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == Ch('-') || field[i] == Ch('+'))) {
    negative = field[i] == Ch('-');
    ++i;
  }
  int32_t v = DigitsValue(field.data() + i, field.data() + field.size());
  return negative ? -v : v;
}

}  // namespace

bool FirmwareVersion::operator>=(const FirmwareVersion& o) const {
  if (major_ != o.major_) return major_ > o.major_;
  if (minor_ != o.minor_) return minor_ > o.minor_;
  return SameKind(build_, o.build_) && build_ >= o.build_;
}

bool FirmwareVersion::operator>(const FirmwareVersion& o) const {
  if (major_ != o.major_) return major_ > o.major_;
  if (minor_ != o.minor_) return minor_ > o.minor_;
  return SameKind(build_, o.build_) && build_ > o.build_;
}

template <typename Ch>
void FirmwareVersion::ParseDottedT(std::basic_string_view<Ch> text) {
  if (std::count(text.begin(), text.end(), Ch('.')) != 3) return;
  int32_t fields[3];
  size_t start = 0;
  for (int32_t& f : fields) {
    size_t dot = text.find(Ch('.'), start);
    f = FieldValue(text.substr(start, dot - start));
    start = dot + 1;
  }
  major_ = fields[0];
  minor_ = fields[1];
  build_ = fields[2];
}

template <typename Ch>
void FirmwareVersion::ParseRevT(std::basic_string_view<Ch> text) {
  static constexpr Ch kRev[] = {Ch('R'), Ch('e'), Ch('v')};
  const size_t rev = text.find(std::basic_string_view<Ch>(kRev, 3));
  if (rev == std::basic_string_view<Ch>::npos) {
    ParseDottedT(text);
    return;
  }

  // Backwards from "Rev": minor, then major. Index 0 is never looked at.
  size_t i = rev;
  int32_t numbers[2];  // minor, major
  for (int32_t& n : numbers) {
    while (i > 1 && !ascii::IsDigit(text[i - 1])) --i;
    if (i <= 1) return;  // reached the first character before a number
    const size_t end = i;
    while (i > 1 && ascii::IsDigit(text[i - 1])) --i;
    n = DigitsValue(text.data() + i, text.data() + end);
  }

  // Forwards from "Rev": past the word to white space, then to the first letter or digit.
  size_t j = rev;
  while (j < text.size() && !ascii::IsSpace(text[j])) ++j;
  while (j < text.size() && !ascii::IsAlnum(text[j])) ++j;
  if (j >= text.size()) return;  // no build after "Rev"
  const int32_t build = ascii::IsDigit(text[j]) ? DigitsValue(text.data() + j, text.data() + text.size())
                                                : static_cast<int32_t>(text[j]) + kLetterOffset;
  major_ = numbers[1];
  minor_ = numbers[0];
  build_ = build;
}

void FirmwareVersion::ParseDotted(std::string_view text) { ParseDottedT(text); }
void FirmwareVersion::ParseDotted(std::u16string_view text) { ParseDottedT(text); }
void FirmwareVersion::ParseRev(std::string_view text) { ParseRevT(text); }
void FirmwareVersion::ParseRev(std::u16string_view text) { ParseRevT(text); }
