#pragma once
// The unit's firmware version: major, minor and build. Builds below 100 are numbered releases,
// builds from 100 up are lettered revisions ("Rev A" = 100); the two kinds never order against
// each other, so these operators are not a strict weak ordering: never sort with them.

#include <cstdint>
#include <string_view>

class FirmwareVersion {
 public:
  FirmwareVersion() = default;
  FirmwareVersion(int32_t major, int32_t minor, int32_t build) : major_(major), minor_(minor), build_(build) {}

  int32_t Major() const { return major_; }
  int32_t Minor() const { return minor_; }
  int32_t Build() const { return build_; }

  // Major, then minor; on equal major and minor the builds, unless one is below 100 and the
  // other is not: then both operators answer false, in either direction.
  bool operator>=(const FirmwareVersion& other) const;
  bool operator>(const FirmwareVersion& other) const;
  bool operator==(const FirmwareVersion& other) const = default;

  // "a.b.c.d": a text with exactly three dots gives major.minor.build from its first three fields.
  // Any other text leaves the version as it was.
  void ParseDotted(std::string_view text);
  void ParseDotted(std::u16string_view text);
  // "SW 2.5 Rev C" gives 2.5.102, "SW 2.5 Rev 7" gives 2.5.7. Without "Rev", a dotted parse.
  // A text that does not yield all three numbers leaves the version as it was.
  void ParseRev(std::string_view text);
  void ParseRev(std::u16string_view text);

 private:
  template <typename Ch>
  void ParseDottedT(std::basic_string_view<Ch> text);
  template <typename Ch>
  void ParseRevT(std::basic_string_view<Ch> text);

  int32_t major_ = 0;
  int32_t minor_ = 0;
  int32_t build_ = 0;
};
