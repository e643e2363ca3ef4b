// The base device's port commands and the "Direct" mode switches against the simulated unit.

#include <gtest/gtest.h>

#include "devices/VkcDevIfVelkor.h"
#include "devices/VkcDevice.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcSerialPort.h"
#include "platform/Timing.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "support/TestSupport.h"

namespace {

class PortCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.1);
    ErrorLog().Clear();
  }
  void TearDown() override {
    port_.Close();
    platform::SetTimeScale(1.0);
  }
  void Start(sim::IdentOptions options) {
    ident_ = std::make_unique<sim::SimIdent>(unit_, std::move(options));
    ASSERT_TRUE(port_.Open(unit_.SlavePath16(), 115200, 8, 0, 0));
  }
  std::string LastError() { return ErrorLog().Entries().empty() ? "" : ErrorLog().Entries().back().text; }

  VkcDevice device_;
  std::unique_ptr<sim::SimIdent> ident_;
  sim::SimUnit unit_;
  VkcSerialPort port_;
};

TEST_F(PortCommandsTest, MaintenanceRateReadsClampToTheTable) {
  for (const char* answer : {"9", "0", "12"}) {
    sim::SimUnit unit;
    sim::IdentOptions options;
    options.mportRate = answer;
    sim::SimIdent ident(unit, options);
    VkcSerialPort port;
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    EXPECT_EQ(device_.GetMaintenancePortRate(&port, nullptr), 8) << answer;
    port.Close();
  }
}

TEST_F(PortCommandsTest, MaintenanceRateSetAndQuery) {
  sim::IdentOptions options;
  options.mportRate = "4";
  Start(options);
  EXPECT_EQ(device_.GetMaintenancePortRate(&port_, nullptr), 3);
  EXPECT_TRUE(device_.SetMaintenancePortRate(3, &port_, nullptr));
  EXPECT_EQ(unit_.Commands().back(), "MPORT RATE 4");
  EXPECT_EQ(ident_->LastSet("MPORT RATE"), "4");
  // Device-level setters take any "@0" answer.
  unit_.SetAnswer("MPORT RATE 5", "@01\r\n");
  EXPECT_TRUE(device_.SetMaintenancePortRate(4, &port_, nullptr));
}

TEST_F(PortCommandsTest, GarbledAndMissingRepliesFailWithTheLog) {
  Start({});
  unit_.SetAnswer("MPORT RATE", "??\r\n@00\r\n");
  EXPECT_EQ(device_.GetMaintenancePortRate(&port_, nullptr), -1);
  EXPECT_EQ(LastError(), "Can not get MPORT RATE response = \"??\r\n@00\r\n\"");
  unit_.SetSilent(true);
  EXPECT_EQ(device_.GetMaintenancePortRate(&port_, nullptr), -1);
  EXPECT_FALSE(device_.SetMaintenancePortRate(2, &port_, nullptr));
  EXPECT_EQ(LastError(), "Can not set MPORT RATE response = \"\"");
  EXPECT_EQ(device_.GetDataPortFlow(&port_, nullptr), -1);
  EXPECT_EQ(LastError(), "Can not get DPORT FLOW response = \"\"");
}

TEST_F(PortCommandsTest, DataPortFlow) {
  sim::IdentOptions options;
  options.dportFlow = "2";
  Start(options);
  EXPECT_EQ(device_.GetDataPortFlow(&port_, nullptr), 2);
  EXPECT_TRUE(device_.SetDataPortFlow(1, &port_, nullptr));
  EXPECT_EQ(ident_->LastSet("DPORT FLOW"), "1");
  unit_.SetAnswer("DPORT FLOW", "7\r\n@00\r\n");
  EXPECT_EQ(device_.GetDataPortFlow(&port_, nullptr), -1);
}

TEST_F(PortCommandsTest, DirectSwitchesModes) {
  Start({});
  VkcDevIfVelkor direct;
  EXPECT_EQ(direct.ToDataMode(&port_, 1), 0);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return ident_->InDataMode(); }, 2000));
  EXPECT_EQ(direct.ToCommandMode(&port_, 1), 0);  // "DD" unheard in data mode; the escape works
  EXPECT_FALSE(ident_->InDataMode());
  unit_.ClearRecord();
  EXPECT_EQ(direct.ToCommandMode(&port_, 1), 0);  // already in command mode: "DD" is refused
  EXPECT_EQ(unit_.Commands(), std::vector<std::string>{"\x18\x18\x18\x18\x18" "DD"});
  unit_.SetSilent(true);
  EXPECT_EQ(direct.ToCommandMode(&port_, 1), 2);
  EXPECT_EQ(LastError(), "No Escape Response");
}

}  // namespace
