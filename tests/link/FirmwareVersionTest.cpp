#include "link/FirmwareVersion.h"

#include <gtest/gtest.h>

#include <string>

namespace {
template <typename Text>
FirmwareVersion Rev(const Text& text, FirmwareVersion start = {9, 9, 9}) {
  start.ParseRev(std::basic_string_view(text));
  return start;
}
template <typename Text>
FirmwareVersion Dotted(const Text& text, FirmwareVersion start = {9, 9, 9}) {
  start.ParseDotted(std::basic_string_view(text));
  return start;
}
}  // namespace

TEST(FirmwareVersion, NumberedAndLetteredBuildsNeverOrder) {
  const FirmwareVersion v1257(1, 2, 57), v123(1, 2, 3), v12100(1, 2, 100), v135(1, 3, 5);
  EXPECT_TRUE(v1257 >= v123);
  EXPECT_TRUE(v1257 > v123);
  EXPECT_FALSE(v123 >= v1257);
  EXPECT_FALSE(v1257 >= v12100);
  EXPECT_FALSE(v12100 >= v1257);
  EXPECT_FALSE(v1257 > v12100);
  EXPECT_FALSE(v12100 > v1257);
  EXPECT_TRUE(v135 > v12100);
  EXPECT_TRUE(v135 >= v12100);
  EXPECT_FALSE(v12100 > v135);
  EXPECT_TRUE(FirmwareVersion(1, 2, 101) > v12100);
  EXPECT_TRUE(v12100 >= v12100);
  EXPECT_FALSE(v12100 > v12100);
  EXPECT_TRUE(FirmwareVersion(1, 2, 99) > FirmwareVersion(1, 2, 98));
  EXPECT_FALSE(FirmwareVersion(1, 2, 99) >= FirmwareVersion(1, 2, 100));
  EXPECT_FALSE(FirmwareVersion(-1, 5, 5) >= FirmwareVersion(0, 0, 0));  // signed comparison
  EXPECT_EQ(v1257, FirmwareVersion(1, 2, 57));
  EXPECT_NE(v1257, v123);
}

TEST(FirmwareVersion, RevTexts) {
  EXPECT_EQ(Rev("SW 2.5 Rev C"), FirmwareVersion(2, 5, 102));
  EXPECT_EQ(Rev("SW 2.5 Rev A"), FirmwareVersion(2, 5, 100));
  EXPECT_EQ(Rev("SW 2.5 Rev 7"), FirmwareVersion(2, 5, 7));
  EXPECT_EQ(Rev("SW 12.34 Rev 56"), FirmwareVersion(12, 34, 56));
  EXPECT_EQ(Rev("SW 2.5 Rev\t  B2"), FirmwareVersion(2, 5, 101));
  EXPECT_EQ(Rev("SW 2.5 Rev. -- 7x"), FirmwareVersion(2, 5, 7));
  EXPECT_EQ(Rev(u"SW 3.1 Rev D"), FirmwareVersion(3, 1, 103));
  // Without "Rev" the text is read as a dotted version.
  EXPECT_EQ(Rev("1.2.3.4"), FirmwareVersion(1, 2, 3));
  EXPECT_EQ(Rev("SW 2.5 rev C"), FirmwareVersion(9, 9, 9));
}

TEST(FirmwareVersion, RevScansStopAtBothEndsOfTheText) {
  // The first character is never read, so a version starting the text is not taken.
  EXPECT_EQ(Rev("2.5 Rev 7"), FirmwareVersion(9, 9, 9));
  EXPECT_EQ(Rev("25 Rev 7"), FirmwareVersion(9, 9, 9));
  EXPECT_EQ(Rev("Rev 7"), FirmwareVersion(9, 9, 9));
  EXPECT_EQ(Rev(""), FirmwareVersion(9, 9, 9));
  EXPECT_EQ(Rev("x12.34 Rev 1"), FirmwareVersion(12, 34, 1));
  EXPECT_EQ(Rev("12.34 Rev 1"), FirmwareVersion(2, 34, 1));
  // "Rev" at the very end, or nothing to read after it: nothing changes.
  EXPECT_EQ(Rev("SW 2.5 Rev"), FirmwareVersion(9, 9, 9));
  EXPECT_EQ(Rev("SW 2.5 Rev "), FirmwareVersion(9, 9, 9));
  EXPECT_EQ(Rev("SW 2.5 RevC"), FirmwareVersion(9, 9, 9));
  EXPECT_EQ(Rev("SW 2.5 Rev -"), FirmwareVersion(9, 9, 9));
  EXPECT_EQ(Rev(std::string_view("SW 2.5 Rev C\0ignored", 12)), FirmwareVersion(2, 5, 102));
}

TEST(FirmwareVersion, HugeNumbersAreClamped) {
  EXPECT_EQ(Rev("SW 99999999999999999999.77777777777777 Rev 123456789012345"),
            FirmwareVersion(INT32_MAX, INT32_MAX, INT32_MAX));
  EXPECT_EQ(Dotted("99999999999.-99999999999.4294967297."), FirmwareVersion(INT32_MAX, -INT32_MAX, INT32_MAX));
}

TEST(FirmwareVersion, DottedNeedsExactlyThreeDots) {
  EXPECT_EQ(Dotted("1.2.3"), FirmwareVersion(9, 9, 9));
  EXPECT_EQ(Dotted("1.2.3.4.5"), FirmwareVersion(9, 9, 9));
  EXPECT_EQ(Dotted("1.2.3.4"), FirmwareVersion(1, 2, 3));
  EXPECT_EQ(Dotted("1.2.3."), FirmwareVersion(1, 2, 3));
  EXPECT_EQ(Dotted(" 4. 5x.6 .7"), FirmwareVersion(4, 5, 6));
  EXPECT_EQ(Dotted("..."), FirmwareVersion(0, 0, 0));
  EXPECT_EQ(Dotted(u"10.20.30.40"), FirmwareVersion(10, 20, 30));
}
