// Values put into command lines: every control character is refused and logged, everything else
// passes with the command's own framing untouched.

#include <gtest/gtest.h>

#include "link/CommandText.h"
#include "link/VkcErrorProcessor.h"
#include "support/ControlCharacters.h"

TEST(CommandText, AValueWithAControlCharacterNeverBecomesCommandText) {
  for (char c : testsupport::ControlCharacters()) {
    ErrorLog().Clear();
    const std::string value = std::string("a") + c + "JLDEV BT OFF";
    EXPECT_FALSE(IsCommandValue(value)) << int(c);
    EXPECT_FALSE(IsCommandValue(std::u16string(u"a") + char16_t(c)));
    EXPECT_FALSE(CommandWithValue("\nJLBT NAME ", value, "\r")) << int(c);
    ASSERT_EQ(ErrorLog().Count(), 1u);
    EXPECT_EQ(ErrorLog().Entries().front().text, "Command \"JLBT NAME\" not sent: its value holds a control character");
  }
  ErrorLog().Clear();
  EXPECT_FALSE(CommandWithValue({}, "pw\n", "\n", "Gateway password"));
  EXPECT_EQ(ErrorLog().Entries().front().text, "Gateway password not sent: its value holds a control character");
  // Blanks, the printable range and 8-bit text are values; the framing is the builder's own.
  ErrorLog().Clear();
  EXPECT_EQ(CommandWithValue("\nJLBT NAME ", " ~\x80\xFF ", "\r"), "\nJLBT NAME  ~\x80\xFF \r");
  EXPECT_EQ(CommandWithValue("RTN LOGIN ", "", {}), "RTN LOGIN ");
  EXPECT_TRUE(IsCommandValue(u"\u00A0\u0100 "));
  EXPECT_EQ(ErrorLog().Count(), 0u);
}
