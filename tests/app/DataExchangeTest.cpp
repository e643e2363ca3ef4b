#include "app/VkcDataExchange.h"

#include <gtest/gtest.h>

namespace {

TEST(DataExchange, AssignsEveryFieldAndKeepsTheFirstFailure) {
  VkcDataExchange dx;
  int a = 5, c = 0;
  int64_t b = 7;
  std::u16string name = u"old";
  dx.Int(1001, u" 42 ", 0, 10, a);       // out of range: assigned, fails
  dx.Int(1002, u"abc", 0, 10, b);        // not a number: left, would fail
  dx.Text(1003, u"toolong", 3, name);    // assigned, would fail
  dx.Int(1004, u"-3", -5, 5, c);
  EXPECT_FALSE(dx.Ok());
  EXPECT_EQ(dx.FailedControl(), 1001);
  EXPECT_EQ(dx.Message(), "Enter an integer between 0 and 10.");
  EXPECT_EQ(a, 42);
  EXPECT_EQ(b, 7);
  EXPECT_EQ(name, u"toolong");
  EXPECT_EQ(c, -3);

  VkcDataExchange text;
  std::u16string t;
  text.Text(5, u"abcd", 4, t);
  EXPECT_TRUE(text.Ok());
  text.Text(6, u"abcde", 4, t);
  EXPECT_EQ(text.Message(), "Enter no more than 4 characters.");

  int64_t v = 0;
  EXPECT_TRUE(VkcDataExchange::ParseInt(u"+12", v));
  EXPECT_EQ(v, 12);
  EXPECT_FALSE(VkcDataExchange::ParseInt(u"1 2", v));
  EXPECT_FALSE(VkcDataExchange::ParseInt(u"", v));
  EXPECT_FALSE(VkcDataExchange::ParseInt(u"99999999999999999999999", v));
  EXPECT_FALSE(VkcDataExchange::ParseInt(u"\u0661", v));  // only ASCII digits
}

}  // namespace
