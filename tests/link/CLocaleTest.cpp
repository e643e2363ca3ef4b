// Numbers the program reads and writes stay in the "C" form under a user locale that groups
// digits and writes a decimal comma.

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "link/Ansi.h"
#include "link/Format.h"
#include "link/FirmwareVersion.h"
#include "link/ParamValue.h"
#include "link/UnitId.h"
#include "link/VkcErrorProcessor.h"

TEST(CLocale, NumbersStayCUnderAGermanLocale) {
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the de_DE.UTF-8 locale is missing";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");

  ParamValue v;
  v.FromInt(1234567);
  EXPECT_EQ(v.value, "1234567");
  v.value = "1234567";
  EXPECT_EQ(v.ToInt(), 1234567);

  FirmwareVersion fw;
  fw.ParseRev("SW 12.34 Rev B");
  EXPECT_EQ(fw, FirmwareVersion(12, 34, 101));
  fw.ParseDotted("1.2.3.4");
  EXPECT_EQ(fw, FirmwareVersion(1, 2, 3));

  UnitId id;
  id.Parse("0a:0b:0c:0d:0e:ff");
  EXPECT_EQ(id.ToString("-"), "0A-0B-0C-0D-0E-FF");

  // Letters beyond ASCII are not letters or digits to the parsers, whatever the locale says.
  fw = FirmwareVersion(1, 1, 1);
  fw.ParseRev("SW 2.5 Rev \xE4");
  EXPECT_EQ(fw, FirmwareVersion(1, 1, 1));
  EXPECT_EQ(AnsiToWide("\xE4\x80"), u"\u00E4\u20AC");

  VkcErrorProcessor log;
  log.ReportError(12345, "%d", 1000000);
  EXPECT_EQ(log.GetTextUtf8(), "1) Error #12345 - 1000000\r\n");
  EXPECT_EQ(StrPrintf("%d %u", -1234567, 7654321u), "-1234567 7654321");

  std::setlocale(LC_ALL, "C");
}
