#include "link/Ansi.h"

#include <cstdint>

namespace {

// 0x80..0x9F; the unassigned 0x81, 0x8D, 0x8F, 0x90 and 0x9D keep their C1 code point.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

char16_t ToWide(uint8_t b) { return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b); }

char ToAnsi(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (unsigned i = 0; i < 32; ++i) {
    if (kHigh[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

template <typename Ch>
size_t Length(const Ch* text, int length) {
  if (!text) return 0;
  if (length >= 0) return static_cast<size_t>(length);
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

}  // namespace

void AnsiToWide(std::u16string& out, const char* text, int length) {
  const size_t n = Length(text, length);
  out.resize(n);
  for (size_t i = 0; i < n; ++i) out[i] = ToWide(static_cast<uint8_t>(text[i]));
}

std::u16string AnsiToWide(std::string_view text) {
  std::u16string out(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = ToWide(static_cast<uint8_t>(text[i]));
  return out;
}

void WideToAnsi(std::string& out, const char16_t* text, int length) {
  const size_t n = Length(text, length);
  out.resize(n);
  for (size_t i = 0; i < n; ++i) out[i] = ToAnsi(text[i]);
}

std::string WideToAnsi(std::u16string_view text) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = ToAnsi(text[i]);
  return out;
}
