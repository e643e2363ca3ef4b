#include "link/Ansi.h"

#include <gtest/gtest.h>

#include <string>

TEST(Ansi, EveryByteRoundTripsOneCharacterEach) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::u16string wide;
  AnsiToWide(wide, all.data(), static_cast<int>(all.size()));
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(wide[0x41], u'A');
  EXPECT_EQ(wide[0x80], u'\u20AC');
  EXPECT_EQ(wide[0x81], u'\u0081');
  EXPECT_EQ(wide[0x8D], u'\u008D');
  EXPECT_EQ(wide[0x99], u'\u2122');
  EXPECT_EQ(wide[0x9F], u'\u0178');
  EXPECT_EQ(wide[0xA0], u'\u00A0');
  EXPECT_EQ(wide[0xE4], u'\u00E4');
  EXPECT_EQ(wide[0xFF], u'\u00FF');
  std::string back;
  WideToAnsi(back, wide.data(), static_cast<int>(wide.size()));
  EXPECT_EQ(back, all);
  EXPECT_EQ(WideToAnsi(AnsiToWide(all)), all);
}

TEST(Ansi, LengthOrNulTerminated) {
  std::u16string w = u"junk";
  AnsiToWide(w, "ab\0cd", 5);
  EXPECT_EQ(w, std::u16string(u"ab\0cd", 5));
  AnsiToWide(w, "ab\0cd", -1);
  EXPECT_EQ(w, u"ab");
  AnsiToWide(w, "", -1);
  EXPECT_EQ(w, u"");
  AnsiToWide(w, nullptr, -1);
  EXPECT_EQ(w, u"");
  std::string a = "junk";
  WideToAnsi(a, u"\u20ACx\0y", -1);
  EXPECT_EQ(a, "\x80x");
  WideToAnsi(a, u"xyz", 2);
  EXPECT_EQ(a, "xy");
}

TEST(Ansi, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  // One character per code unit, so lengths stay equal (a surrogate pair gives two).
  EXPECT_EQ(WideToAnsi(u"\u4E2D\u0080\u0100\u00FF\U0001F600"), "???\xFF??");
  EXPECT_EQ(WideToAnsi(u"\u201C\u2014\u201D"), "\x93\x97\x94");
}
