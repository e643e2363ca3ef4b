#pragma once
// Character classes for text from units and files: ASCII only, whatever the user's locale, and
// safe for any code unit (no <cctype> on negative chars).

#include <cstdint>

namespace ascii {

template <typename Ch>
constexpr bool IsDigit(Ch c) {
  return c >= Ch('0') && c <= Ch('9');
}
template <typename Ch>
constexpr bool IsAlpha(Ch c) {
  return (c >= Ch('a') && c <= Ch('z')) || (c >= Ch('A') && c <= Ch('Z'));
}
template <typename Ch>
constexpr bool IsAlnum(Ch c) {
  return IsDigit(c) || IsAlpha(c);
}
template <typename Ch>
constexpr bool IsSpace(Ch c) {
  return c == Ch(' ') || (c >= Ch('\t') && c <= Ch('\r'));
}
// The value of a hex digit, or -1.
template <typename Ch>
constexpr int HexValue(Ch c) {
  if (IsDigit(c)) return int(c - Ch('0'));
  if (c >= Ch('a') && c <= Ch('f')) return int(c - Ch('a')) + 10;
  if (c >= Ch('A') && c <= Ch('F')) return int(c - Ch('A')) + 10;
  return -1;
}

}  // namespace ascii
