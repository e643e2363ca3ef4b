#include "unit/VkcRadioReply.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(RadioReply, SplitsValueAndWholeResultCode) {
  VkcRadioReply r = ParseRadioReply("12@00\r\n");
  EXPECT_EQ(r.value, "12");
  EXPECT_EQ(r.code, 0);
  r = ParseRadioReply("12@03\r\n");
  EXPECT_EQ(r.value, "12");
  EXPECT_EQ(r.code, 3);
  r = ParseRadioReply("12\r\n@11\r\n");
  EXPECT_EQ(r.value, "12\r\n");
  EXPECT_EQ(r.code, 11);
  // A value-less error reply is a failure, not the value "@03".
  r = ParseRadioReply("@03\r\n");
  EXPECT_EQ(r.value, "");
  EXPECT_EQ(r.code, 3);
  // No code at all: the whole reply is the value.
  r = ParseRadioReply("433.125 MHz\r\n");
  EXPECT_EQ(r.value, "433.125 MHz\r\n");
  EXPECT_EQ(r.code, 0);
  // An "@" that starts no code belongs to the value.
  r = ParseRadioReply("a@b@05");
  EXPECT_EQ(r.value, "a@b");
  EXPECT_EQ(r.code, 5);
  r = ParseRadioReply("x@");
  EXPECT_EQ(r.value, "x@");
  EXPECT_EQ(r.code, 0);
}

TEST(RadioReply, IntegersReadSignsAndStopAtTheFirstNonDigit) {
  EXPECT_EQ(ParseLeadingInt("-97\r\n"), -97);
  EXPECT_EQ(ParseLeadingInt("  +42x"), 42);
  EXPECT_EQ(ParseLeadingInt("2@03"), 2);
  EXPECT_EQ(ParseLeadingInt("abc"), 0);
  EXPECT_EQ(ParseLeadingInt(""), 0);
  EXPECT_EQ(ParseLeadingInt("-"), 0);
  EXPECT_EQ(ParseLeadingInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(ParseLeadingInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(RadioReply, FrequenciesScaleMegahertzAndRound) {
  EXPECT_EQ(ParseFrequencyHz("433.125 MHz\r\n"), 433125000);
  EXPECT_EQ(ParseFrequencyHz("433125000\r\n"), 433125000);
  EXPECT_EQ(ParseFrequencyHz("433.1MHz"), 433100000);  // rounded, not truncated
  EXPECT_EQ(ParseFrequencyHz("433.1 mhz"), 433100000);
  EXPECT_EQ(ParseFrequencyHz("1545.0125 MHz"), 1545012500);
  EXPECT_EQ(ParseFrequencyHz("12.6"), 13);
  EXPECT_EQ(ParseFrequencyHz("junk"), 0);
  EXPECT_EQ(ParseFrequencyHz("nan"), 0);
  EXPECT_EQ(ParseFrequencyHz("1e300 MHz"), INT64_MAX);
}

TEST(RadioReply, NumbersIgnoreTheUsersLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old != nullptr ? old : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
  EXPECT_EQ(ParseFrequencyHz("433.125 MHz"), 433125000);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(RadioReply, CutAtLineEnd) {
  EXPECT_EQ(CutAtLineEnd("1.2E-5\r\n"), "1.2E-5");
  EXPECT_EQ(CutAtLineEnd("abc"), "abc");
  EXPECT_EQ(CutAtLineEnd("\r\nx"), "");
}
