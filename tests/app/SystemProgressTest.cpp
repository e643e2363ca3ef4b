// The connected unit's operations run from a progress dialog, as the main dialog runs them.

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

#include "app/VkcProgressDialog.h"
#include "unit/VkcSystem.h"
#include "devices/VkcDeviceManager.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcSerialPort.h"
#include "platform/Timing.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"

namespace {

constexpr int kModalSucceeded = 1;
constexpr int kModalEnded = 2;  // a failure or a user stop

class SystemProgress : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.05);
    ErrorLog().Clear();
    manager.RegisterPrototypes();
    system.Attach(&manager, &settings, [this] { return &port; });
  }
  void TearDown() override {
    port.Close();
    platform::SetTimeScale(1.0);
  }
  void Start(const sim::IdentOptions& options) {
    ident = std::make_unique<sim::SimIdent>(unit, options);
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
  }

  VkcDeviceManager manager;
  VkcConfiguration settings;
  std::unique_ptr<sim::SimIdent> ident;
  sim::SimUnit unit;
  VkcSerialPort port;
  VkcSystem system;
};

TEST_F(SystemProgress, IdentificationShowsTheSweepInTheLog) {
  sim::IdentOptions options;
  options.code = sim::IdentOptions::Code::Startup;
  Start(options);
  VkcProgressDialog dialog(nullptr, false);
  dialog.SetTask(&system, VkcSystem::kOpIdentify, 0);
  EXPECT_EQ(dialog.exec(), kModalSucceeded);
  EXPECT_EQ(system.GetProductId(), -1);
  EXPECT_TRUE(dialog.LogText().startsWith(QStringLiteral("Trying 115200")));
  EXPECT_TRUE(dialog.LogText().contains(QStringLiteral("Startup code detected")));
}

TEST_F(SystemProgress, EscDuringASilentSweepStopsBeforeTheReboot) {
  sim::IdentOptions options;
  Start(options);
  unit.SetSilent(true);
  VkcProgressDialog dialog(nullptr, false);  // as "Send settings to radio": Stop off, Esc stops
  dialog.SetTask(&system, VkcSystem::kOpIdentify, 0);
  dialog.AddTask(&system, VkcSystem::kOpReboot, -1);
  QTimer::singleShot(100, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
  EXPECT_EQ(dialog.exec(), kModalEnded);
  EXPECT_EQ(dialog.GetResult(), 0u);
  EXPECT_TRUE(dialog.WasStopped());
  EXPECT_EQ(system.GetCurrentDevice(), nullptr);
  EXPECT_EQ(unit.Received().find("BOOT"), std::string::npos);
}

}  // namespace
