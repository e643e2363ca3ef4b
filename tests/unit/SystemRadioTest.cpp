// The connected unit's single-value commands against the simulated unit over a pseudo-terminal.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "unit/VkcSystem.h"
#include "devices/VkcDevice.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcSerialPort.h"
#include "platform/Event.h"
#include "platform/Timing.h"
#include "UnitTestText.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"

namespace {

class SystemRadio : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    system.Attach(nullptr, nullptr, [this] { return &port; });
    ErrorLog().Clear();
  }
  void TearDown() override {
    port.Close();
    platform::SetTimeScale(1.0);
    ErrorLog().Clear();
  }
  std::vector<std::string> Log() { return unittext::ErrorTexts(); }

  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  VkcSerialPort port;
  VkcDevice device;
  VkcSystem system;
};

TEST_F(SystemRadio, QueriesReadValuesAndWholeResultCodes) {
  control.SetValue("STATE RSSI", "-97");
  control.SetValue("STATE EBN0", "12");
  control.SetValue("LINK RSID", "RS-0042");
  control.SetValue("STATE BER", "1.5E-4");
  control.SetValue("LINK MOD", "2");
  control.SetValue("LINK PROT", "9");
  control.SetValue("LINK CHAN", "17");
  control.SetValue("LINK PWRB", "30");
  control.SetFailure("STATE TEMP", 3);
  EXPECT_EQ(system.GetRSSI(), -97);
  EXPECT_EQ(system.GetEbN0(), 12);
  EXPECT_EQ(system.GetRSID(), "RS-0042");
  EXPECT_EQ(system.GetBER(), "1.5E-4");
  EXPECT_EQ(system.GetModulation(), 2);
  EXPECT_EQ(system.GetProtocol(), 9);
  EXPECT_EQ(system.GetChannel(), 17);
  EXPECT_EQ(system.GetLinkPowerB(), 30);
  EXPECT_TRUE(Log().empty());
  // A value-less error reply is an error with one log entry, not the value 0.
  EXPECT_EQ(system.GetTemperature(), 65535);
  EXPECT_EQ(Log(), std::vector<std::string>{
                       "Can not get response for\"STATE TEMP\r\", response = \"\", error code = 3"});
  std::string value;
  EXPECT_EQ(system.QueryRadio("STATE TEMP\r", value), 3);
  EXPECT_EQ(unit.Commands(), (std::vector<std::string>{"STATE RSSI", "STATE EBN0", "LINK RSID", "STATE BER",
                                                      "LINK MOD", "LINK PROT", "LINK CHAN", "LINK PWRB",
                                                      "STATE TEMP", "STATE TEMP"}));
}

TEST_F(SystemRadio, FrequencyScalesMegahertzRoundsAndFailsWithMinusOne) {
  control.SetValue("STATE FREQ", "433.1 MHz");
  EXPECT_EQ(system.GetFrequency(), 433100000);
  control.SetValue("STATE FREQ", "433125000");
  EXPECT_EQ(system.GetFrequency(), 433125000);
  control.SetValue("STATE FREQ", "1545.0125 mhz");
  EXPECT_EQ(system.GetFrequency(), 1545012500);
  control.SetFailure("STATE FREQ", 5);
  EXPECT_EQ(system.GetFrequency(), -1);
}

TEST_F(SystemRadio, SetsDemandSuccessCodeAndDeviceChecksSendNothing) {
  platform::Event stop(platform::Event::ResetMode::Manual);
  // Without a current device the power and channel sets send nothing.
  EXPECT_FALSE(system.SetLinkPowerW(500, &stop));
  EXPECT_FALSE(system.SetLinkPowerB(27, &stop));
  EXPECT_EQ(system.SetChannel(5, &stop), 0);
  EXPECT_TRUE(unit.Received().empty());

  system.SetCurrentDevice(&device);
  control.SetValue("STATE FREQ", "433.125 MHz");
  EXPECT_EQ(system.SetChannel(5, &stop), 433125000);
  EXPECT_TRUE(system.SetLinkPowerW(500, &stop));
  EXPECT_TRUE(system.SetLinkPowerB(27, &stop));
  EXPECT_TRUE(system.SetModulation(3, &stop));
  EXPECT_TRUE(system.SetProtocol(2, &stop));
  EXPECT_EQ(system.ResetBER(&stop), 0);
  EXPECT_EQ(unit.Commands(), (std::vector<std::string>{"LINK CHAN 5", "STATE FREQ", "LINK PWRW 500",
                                                      "LINK PWRB 27", "LINK MOD 3", "LINK PROT 2",
                                                      "@RX RESBER"}));
  EXPECT_TRUE(Log().empty());

  // A reply without "@00" is refused with its own log text (typo included).
  control.SetFailure("LINK CHAN 6", 1);
  EXPECT_EQ(system.SetChannel(6, &stop), 0);
  EXPECT_EQ(system.SetRadioCommand("LINK CHAN 6\r", &stop), -1);
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "Set command \"LINK CHAN 6\r\" doesn't return @00 Rsponse = \"@01\r\n\"",
                       "Set command \"LINK CHAN 6\r\" doesn't return @00 Rsponse = \"@01\r\n\""}));
  EXPECT_EQ(unit.Commands().back(), "LINK CHAN 6");
}

TEST_F(SystemRadio, SilentUnitGivesMinusOneAndLogsTheSender) {
  platform::SetTimeScale(0.1);
  control.SetUnanswered("STATE SYNC");
  control.SetUnanswered("LINK MOD 1");
  std::string value = "N/A";
  EXPECT_EQ(system.QueryRadio("STATE SYNC\r", value), -1);
  EXPECT_EQ(value, "N/A");
  EXPECT_EQ(Log(), std::vector<std::string>{"Can not get response for\"STATE SYNC\r\", response = \"\""});
  ErrorLog().Clear();
  // Logged by the query and again by the integer reader.
  EXPECT_EQ(system.GetSyncState(), 65535);
  EXPECT_EQ(Log().size(), 2u);
  ErrorLog().Clear();
  platform::Event stop(platform::Event::ResetMode::Manual);
  EXPECT_FALSE(system.SetModulation(1, &stop));
  EXPECT_EQ(Log(), std::vector<std::string>{"Can not set command \"LINK MOD 1\r\" response = \"\""});
  // A set already stopped returns without its answer.
  control.SetUnanswered("LINK MOD 1", false);
  stop.Set();
  unit.SetReplyDelay(1000);
  EXPECT_EQ(system.SetRadioCommand("LINK MOD 1\r", &stop), -1);
}

TEST_F(SystemRadio, ResultCodeSplitAcrossReadsIsReadWhole) {
  unit.AddCommandHandler("STATE EBN0", [](sim::SimUnit& u, const std::string&) {
    u.Send("12@0");
    u.Send("3\r\n", 100);
    u.Prompt();
  });
  EXPECT_EQ(system.GetEbN0(), 65535);
  std::string value;
  EXPECT_EQ(system.QueryRadio("STATE EBN0\r", value), 3);
  EXPECT_EQ(value, "12");
}

}  // namespace
