#pragma once
// The unit's six-byte serial number (its radio address). As a number it is 48 bits with byte 0
// the most significant.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class UnitId {
 public:
  static constexpr size_t kSize = 6;

  UnitId() = default;  // all zero
  explicit UnitId(const uint8_t* bytes) { Assign(bytes); }
  explicit UnitId(const std::array<uint8_t, kSize>& bytes) : bytes_(bytes) {}
  UnitId& operator=(const uint8_t* bytes) {
    Assign(bytes);
    return *this;
  }

  bool operator==(const UnitId& other) const = default;

  const std::array<uint8_t, kSize>& Bytes() const { return bytes_; }
  uint8_t operator[](size_t i) const { return bytes_[i]; }

  uint64_t ToUInt64() const;
  // The high 16 bits are ignored.
  void FromUInt64(uint64_t value);
  // Writes the six bytes to dest in reverse order.
  void CopyReversed(uint8_t* dest) const;

  // Each byte as two upper-case hex digits, sep between bytes: "00-1A-2B-3C-4D-5E".
  std::u16string ToString(std::u16string_view sep) const;
  std::string ToString(std::string_view sep) const;

  // Skips leading characters that are not hex digits, then collects hex digits (skipping other
  // characters) until white space or ','; the id is the number of the last 12 digits.
  void Parse(std::u16string_view text);
  void Parse(std::string_view text);

 private:
  void Assign(const uint8_t* bytes);
  template <typename Ch>
  void ParseT(std::basic_string_view<Ch> text);

  std::array<uint8_t, kSize> bytes_{};
};
