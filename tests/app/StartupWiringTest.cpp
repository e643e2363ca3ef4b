#include "app/ModulinkStartup.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

// The model classes reach the connected unit's images through the global pointer; the program's
// start-up object must set it for as long as it lives.
TEST(StartupWiring, TheConnectedUnitIsTheGlobalUnitWhileTheProgramRuns) {
  testsupport::TempDir dir;
  {
    ModulinkStartup startup(dir.File("settings.vkc"));
    EXPECT_EQ(GlobalUnitImages(), &startup.System());
  }
  EXPECT_EQ(GlobalUnitImages(), nullptr);
}
