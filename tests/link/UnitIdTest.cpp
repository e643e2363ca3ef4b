#include "link/UnitId.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(UnitId, ByteZeroIsTheMostSignificant) {
  const uint8_t bytes[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  UnitId id(bytes);
  EXPECT_EQ(id.ToUInt64(), 0x001A2B3C4D5Eull);
  EXPECT_EQ(id.ToString(u"-"), u"00-1A-2B-3C-4D-5E");
  EXPECT_EQ(id.ToString(""), "001A2B3C4D5E");
  EXPECT_EQ(id.ToString(std::string_view(", ")), "00, 1A, 2B, 3C, 4D, 5E");

  uint8_t reversed[7] = {0, 0, 0, 0, 0, 0, 0xEE};
  id.CopyReversed(reversed);
  const uint8_t expected[7] = {0x5E, 0x4D, 0x3C, 0x2B, 0x1A, 0x00, 0xEE};
  EXPECT_EQ(0, std::memcmp(reversed, expected, 7));

  UnitId other;
  EXPECT_EQ(other.ToUInt64(), 0u);
  EXPECT_NE(other, id);
  other.FromUInt64(0xFFFF001A2B3C4D5Eull);  // the high 16 bits are ignored
  EXPECT_EQ(other, id);
  other = reversed;
  EXPECT_EQ(other.ToUInt64(), 0x5E4D3C2B1A00ull);
}

TEST(UnitId, ParseTakesTheLastTwelveHexDigitsOfTheFirstWord) {
  UnitId id;
  id.Parse(u"x 001a2b3c4d5e,");
  EXPECT_EQ(id.ToUInt64(), 0x001A2B3C4D5Eull);
  id.Parse("00-1A-2B-3C-4D-5E");
  EXPECT_EQ(id.ToUInt64(), 0x001A2B3C4D5Eull);
  id.Parse("  S/N: 1234567890ABCDEF rest");  // skips to the first hex digit ('S' is not one)
  EXPECT_EQ(id.ToUInt64(), 0x567890ABCDEFull);
  id.Parse("12,34");
  EXPECT_EQ(id.ToUInt64(), 0x12ull);
  id.Parse("zz");
  EXPECT_EQ(id.ToUInt64(), 0u);
  // Print and parse round trip.
  id.FromUInt64(0xA1B2C3D4E5F6ull);
  UnitId back;
  back.Parse(id.ToString(u":"));
  EXPECT_EQ(back, id);
}
