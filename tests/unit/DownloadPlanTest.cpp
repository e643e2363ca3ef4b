// The download plan for every kind of image set and unit, and the two facts it is built from.

#include <gtest/gtest.h>

#include <vector>

#include "unit/VkcDownloadPlan.h"

namespace {

using S = VkcDownloadStep;

S Load(int index, const char* word) {
  S s;
  s.index = index;
  s.word = word;
  return s;
}
S Kind(S::Kind kind) {
  S s;
  s.kind = kind;
  return s;
}
S Reboot(bool mainImage, int boot) {
  S s = Kind(S::kReboot);
  s.mainImage = mainImage;
  s.bootImage = boot;
  return s;
}
const S kWait = Kind(S::kWaitRbt), kInit = Kind(S::kSysInit);

TEST(DownloadPlan, EveryKindOfSetAndUnit) {
  struct Case {
    const char* name;
    VkcDownloadInputs in;
    std::vector<S> plan;
  };
  // hasMain, extras, multi, startup, unitHasMainImage, crcMatches
  const std::vector<Case> cases = {
      {"single, start-up code", {true, 0, false, true, false, false}, {Load(-1, "FACTIMAGE"), kWait, kInit}},
      {"single, unit with a main image", {true, 0, false, true, true, false}, {Load(-1, "IMAGE"), kWait, kInit}},
      {"single, version 1 unit", {true, 0, false, false, true, false}, {Load(-1, "IMAGE"), Reboot(true, -1)}},
      {"set, version 1 unit",
       {true, 2, true, false, true, false},
       {Load(-1, "FACTIMAGE"), Reboot(false, 8), Load(0, "NIMG"), kWait, kInit, Load(1, "NIMG"), kWait, kInit}},
      {"set, start-up, main already there", {true, 1, true, true, true, true}, {Load(0, "NIMG"), kWait, kInit}},
      {"set, main there but no start-up flag",
       {true, 0, true, false, false, true},
       {Load(-1, "FACTIMAGE"), Reboot(false, 8)}},
      {"one-image set already there", {true, 0, true, true, false, true}, {}},
      {"extras only", {false, 1, true, false, false, false}, {Load(0, "NIMG"), kWait, kInit}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BuildDownloadPlan(c.in), c.plan);
  }
}

TEST(DownloadPlan, StartupFlagAndCrcAnswer) {
  EXPECT_TRUE(DownloadStartupFlag(-1, "N/A"));
  EXPECT_FALSE(DownloadStartupFlag(-2, "N/A"));
  EXPECT_FALSE(DownloadStartupFlag(0, "SW 2.5 Rev C"));
  EXPECT_TRUE(DownloadStartupFlag(4, "SW 2.5 Rev C"));
  EXPECT_FALSE(DownloadStartupFlag(4, "1.7 Rev 3"));
  EXPECT_FALSE(DownloadStartupFlag(4, "2.5.7"));  // neither "Rev" nor three dots: no version

  EXPECT_TRUE(DownloadCrcIdMatches(0, "1A2B3C4D", 0x1A2B3C4D));
  EXPECT_TRUE(DownloadCrcIdMatches(0, " ffffffff\r\n", 0xFFFFFFFF));
  EXPECT_TRUE(DownloadCrcIdMatches(0, "0x1A2B3C4D\r\n", 0x1A2B3C4D));
  EXPECT_FALSE(DownloadCrcIdMatches(1, "1A2B3C4D", 0x1A2B3C4D));
  EXPECT_FALSE(DownloadCrcIdMatches(0, "", 0));
  EXPECT_FALSE(DownloadCrcIdMatches(0, "1A2B3C4D5", 0xA2B3C4D5));
  EXPECT_FALSE(DownloadCrcIdMatches(0, "FFFFFFFF", -1));  // a set without an identifier
}

}  // namespace
