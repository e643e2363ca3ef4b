#include "app/ModulinkStartup.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/VkcProgressDialog.h"
#include "devices/VkcFrequencyCalculator.h"

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

TEST(StartupWiring, SynthesizerSearchRunsInAProgressDialogOnTheUiThread) {
  testsupport::TempDir dir;
  ModulinkStartup startup(dir.File("settings.vkc"));
  VkcFrequencyCalculator calculator;
  calculator.SetTargetFrequency(433012345);
  bool dialogShown = false;
  QTimer::singleShot(0, [&] { dialogShown = qobject_cast<VkcProgressDialog*>(QApplication::activeModalWidget()) != nullptr; });
  EXPECT_TRUE(VkcFrequencyCalculator::Run(calculator));
  EXPECT_TRUE(dialogShown);
  EXPECT_NEAR(calculator.GetAchievedFrequency(), 433012345.0, 200.0);
}
