#include "link/UnitId.h"

#include <cstring>

#include "link/AsciiClass.h"

void UnitId::Assign(const uint8_t* bytes) {
  if (bytes) {
    std::memcpy(bytes_.data(), bytes, kSize);
  } else {
    bytes_ = {};
  }
}

uint64_t UnitId::ToUInt64() const {
  uint64_t v = 0;
  for (uint8_t b : bytes_) v = (v << 8) | b;
  return v;
}

void UnitId::FromUInt64(uint64_t value) {
  for (size_t i = kSize; i-- > 0;) {
    bytes_[i] = static_cast<uint8_t>(value & 0xFF);
    value >>= 8;
  }
}

void UnitId::CopyReversed(uint8_t* dest) const {
  for (size_t i = 0; i < kSize; ++i) dest[i] = bytes_[kSize - 1 - i];
}

namespace {

template <typename Ch>
std::basic_string<Ch> Hex(const std::array<uint8_t, UnitId::kSize>& bytes, std::basic_string_view<Ch> sep) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::basic_string<Ch> out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) out.append(sep);
    out.push_back(Ch(kDigits[bytes[i] >> 4]));
    out.push_back(Ch(kDigits[bytes[i] & 0xF]));
  }
  return out;
}

}  // namespace

std::u16string UnitId::ToString(std::u16string_view sep) const { return Hex(bytes_, sep); }
std::string UnitId::ToString(std::string_view sep) const { return Hex(bytes_, sep); }

template <typename Ch>
void UnitId::ParseT(std::basic_string_view<Ch> text) {
  size_t i = 0;
  while (i < text.size() && ascii::HexValue(text[i]) < 0) ++i;
  // Shifting left keeps exactly the last 12 digits once the high bits are masked.
  uint64_t v = 0;
  for (; i < text.size() && !ascii::IsSpace(text[i]) && text[i] != Ch(','); ++i) {
    const int d = ascii::HexValue(text[i]);
    if (d >= 0) v = ((v << 4) | static_cast<uint64_t>(d)) & 0xFFFFFFFFFFFFull;
  }
  FromUInt64(v);
}

void UnitId::Parse(std::u16string_view text) { ParseT(text); }
void UnitId::Parse(std::string_view text) { ParseT(text); }
