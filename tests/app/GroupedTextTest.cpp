#include "app/GroupedText.h"

#include <gtest/gtest.h>

namespace {

GroupedText Serial(std::u16string raw, bool fromRight = false, uint32_t max = 12) {
  GroupedText t;
  t.SetGroupSizes({2, 2, 2, 2, 2, 2});
  t.SetDefaultSeparator(u"-");
  t.SetMaxLength(max);
  t.SetFillFromRight(fromRight);
  t.SetRawText(std::move(raw));
  return t;
}

TEST(GroupedText, LaysOutGroupsFromEitherEnd) {
  GroupedText t = Serial(u"123456789ABC");
  EXPECT_EQ(t.Display(), u"12-34-56-78-9A-BC");
  EXPECT_EQ(t.RawText(), u"123456789ABC");
  EXPECT_EQ(Serial(u"ABC").Display(), u"AB-C");
  EXPECT_EQ(Serial(u"").Display(), u"");

  GroupedText right = Serial(u"ABC", true);
  right.SetDefaultSeparator(u":");
  EXPECT_EQ(right.Display(), u"A:BC");

  // Overflow stays in the last group from the left and in the first from the right.
  GroupedText over = Serial(u"");
  over.SetRawText(u"1234567890ABCD");
  EXPECT_EQ(over.Display(), u"12-34-56-78-90-ABCD");
  GroupedText freq;
  freq.SetGroupSizes({3, 3});
  freq.SetDefaultSeparator(u",");
  freq.SetFillFromRight(true);
  freq.SetRawText(u"433125000");
  EXPECT_EQ(freq.Display(), u"433125,000");
}

TEST(GroupedText, PerGroupAndMultiCharacterSeparators) {
  GroupedText t;
  t.SetGroupSizes({1, 1, 1});
  t.SetDefaultSeparator(u"--");
  t.SetSeparators({u"."});
  t.SetRawText(u"abc");
  EXPECT_EQ(t.Display(), u"a.b--c");
  ASSERT_EQ(t.Layout().size(), 6u);
  EXPECT_EQ(t.Layout()[1].group, 0);
  EXPECT_EQ(t.Layout()[3].group, 1);
  EXPECT_EQ(t.Layout()[4].index, 1);
  EXPECT_FALSE(t.Layout()[5].IsSeparator());
}

TEST(GroupedText, CaretAndIndexRoundTrip) {
  for (bool right : {false, true}) {
    for (std::u16string raw : {u"", u"A", u"ABC", u"123456789ABC", u"1234567890ABCD"}) {
      GroupedText t = Serial(raw, right, 0);
      for (int i = 0; i <= static_cast<int>(raw.size()); ++i)
        EXPECT_EQ(t.IndexFromCaret(t.CaretFromIndex(i)), i) << "raw size " << raw.size();
      for (int c = 0; c <= t.Length(); ++c) {
        const int i = t.IndexFromCaret(c);
        EXPECT_GE(t.CaretFromIndex(i), c - 2);
      }
    }
  }
  GroupedText t = Serial(u"1234");
  EXPECT_EQ(t.CaretFromIndex(2), 3);  // after "12-"
  EXPECT_EQ(t.IndexFromCaret(3), 2);
  EXPECT_EQ(t.IndexFromCaret(2), 2);
}

TEST(GroupedText, TypingAtTheLimitOverwritesOrDrops) {
  GroupedText t = Serial(u"123456789ABC");
  t.SetCaret(0);
  EXPECT_TRUE(t.Type(u'X'));
  EXPECT_EQ(t.RawText(), u"X23456789ABC");
  EXPECT_EQ(t.Caret(), 1);
  t.SetCaret(1);
  EXPECT_TRUE(t.Type(u'Y'));
  EXPECT_EQ(t.Display(), u"XY-34-56-78-9A-BC");
  EXPECT_EQ(t.Caret(), 3);  // after the separator
  t.End();
  EXPECT_FALSE(t.Type(u'Z'));
  EXPECT_EQ(t.RawText(), u"XY3456789ABC");

  GroupedText open = Serial(u"12");
  open.SetCaret(2);
  EXPECT_TRUE(open.Type(u'3'));
  EXPECT_EQ(open.Display(), u"12-3");
  EXPECT_EQ(open.Caret(), 4);
  // No hex filter, but control characters are refused.
  EXPECT_TRUE(open.Type(u' '));
  EXPECT_TRUE(open.Type(u'g'));
  EXPECT_FALSE(open.Type(u'\x07'));
  EXPECT_EQ(open.RawText(), u"123 g");
}

TEST(GroupedText, DeletingAcrossSeparators) {
  GroupedText t = Serial(u"1234");
  t.SetCaret(3);  // right after "-"
  EXPECT_TRUE(t.Backspace());
  EXPECT_EQ(t.RawText(), u"134");
  EXPECT_EQ(t.Display(), u"13-4");

  t.SetRawText(u"1234");
  t.SetCaret(2);  // before "-"
  EXPECT_TRUE(t.Delete());
  EXPECT_EQ(t.Display(), u"12-4");

  t.SetRawText(u"1234");
  t.SetSelection(1, 4);
  EXPECT_TRUE(t.Backspace());
  EXPECT_EQ(t.Display(), u"14");

  t.SetCaret(0);
  EXPECT_FALSE(t.Backspace());
  t.End();
  EXPECT_FALSE(t.Delete());

  t.SetRawText(u"123456");
  t.SetSelection(2, 3);  // only the separator
  EXPECT_FALSE(t.Copy().has_value());
  t.SetSelection(1, 4);
  EXPECT_EQ(*t.Cut(), u"23");
  EXPECT_EQ(t.Display(), u"14-56");
  t.SetSelection(0, 2);
  EXPECT_TRUE(t.Type(u'Z'));
  EXPECT_EQ(t.Display(), u"Z5-6");
}

TEST(GroupedText, PasteIsUnfilteredAndCutToTheLimit) {
  GroupedText t = Serial(u"123456789ABC");
  t.SetCaret(0);
  EXPECT_TRUE(t.Paste(u"ZZZZ"));
  EXPECT_EQ(t.RawText(), u"ZZZZ12345678");
  t.SetRawText(u"12");
  t.SetCaret(1);
  t.Paste(u"a b");
  EXPECT_EQ(t.RawText(), u"1a b2");
  // SetRawText is not limited.
  t.SetRawText(u"0123456789ABCDEF");
  EXPECT_EQ(t.RawText().size(), 16u);
}

TEST(GroupedText, ReadOnlyIgnoresEditing) {
  GroupedText t = Serial(u"1234");
  t.SetReadOnly(true);
  t.SetCaret(2);
  EXPECT_FALSE(t.Type(u'x'));
  EXPECT_FALSE(t.Backspace());
  EXPECT_FALSE(t.Delete());
  EXPECT_FALSE(t.Paste(u"9"));
  t.SetSelection(0, 5);
  EXPECT_FALSE(t.Clear());
  EXPECT_EQ(*t.Cut(), u"1234");
  EXPECT_EQ(t.RawText(), u"1234");
}

TEST(GroupedText, CaretMovesAreClamped) {
  GroupedText t = Serial(u"1234");
  t.SetCaret(0);
  t.Left();
  EXPECT_EQ(t.Caret(), 0);
  t.Right();
  t.Right();
  t.Right();
  EXPECT_EQ(t.Caret(), 3);
  t.End();
  t.Right();
  EXPECT_EQ(t.Caret(), 5);
}

}  // namespace
