// Identification, reboot and the mode switches of the connected unit, end to end over a
// pseudo-terminal against the simulated unit.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "unit/VkcSystem.h"
#include "devices/VkcDeviceManager.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "platform/Event.h"
#include "platform/Timing.h"
#include "UnitTestText.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimIdent.h"
#include "sim/SimMcu.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"

namespace {

using sim::IdentOptions;

using unittext::Clean;

// An interface that answers mode switches from a script (1: try again).
class ScriptedInterface : public VkcDeviceInterface {
 public:
  explicit ScriptedInterface(std::vector<int> answers) : VkcDeviceInterface(7, u"Scripted"), answers_(answers) {}
  int ToCommandMode(VkcComPort*, int, platform::Event*) override { return Next(); }
  int ToDataMode(VkcComPort*, int, platform::Event*) override { return Next(); }
  int OpenPassThrough(VkcComPort*, bool open, platform::WindowHandle, platform::Event*) override {
    passThrough.push_back(open);
    return 3;
  }
  int calls = 0;
  std::vector<bool> passThrough;

 private:
  int Next() { return calls < static_cast<int>(answers_.size()) ? answers_[calls++] : (++calls, 2); }
  std::vector<int> answers_;
};

class SystemIdentify : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.05);
    ErrorLog().Clear();
    manager.RegisterPrototypes();
    system.Attach(&manager, &settings, [this] { return &port; });
  }
  void TearDown() override {
    port.Close();
    if (files) files->StopTransfer();
    platform::SetTimeScale(1.0);
  }
  void Start(const IdentOptions& options, const sim::McuState* mcuState = nullptr) {
    if (mcuState != nullptr) mcu = std::make_unique<sim::SimMcu>(unit, *mcuState);
    ident = std::make_unique<sim::SimIdent>(unit, options, mcu.get());
    files = std::make_unique<sim::SimUnitControlFiles>(unit);  // a configuration without sections
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
  }
  std::vector<std::string> Errors() { return unittext::ErrorTexts(); }
  uint32_t Run(uint32_t op, intptr_t parameter = 0) { return system.Process(op, parameter, window.Handle(), stop); }

  VkcDeviceManager manager;
  VkcConfiguration settings;
  platform::RecordingWindow window;
  platform::Event stop{platform::Event::ResetMode::Manual};
  std::unique_ptr<sim::SimMcu> mcu;
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<sim::SimUnitControlFiles> files;
  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  VkcSerialPort port;
  VkcSystem system;
};

TEST_F(SystemIdentify, TransceiverIsIdentifiedAndRead) {
  IdentOptions options;
  options.modelKey = "4";
  options.hardware = "HW 2.1";
  Start(options);
  ASSERT_EQ(Run(VkcSystem::kOpIdentify), 0u) << ::testing::PrintToString(Errors());
  ASSERT_NE(system.GetCurrentDevice(), nullptr);
  EXPECT_EQ(system.GetProductId(), 4);
  EXPECT_EQ(system.GetProductName(), u"VK400");
  EXPECT_EQ(system.GetHardwareVersion(), "HW 2.1");
  EXPECT_EQ(system.GetSoftwareVersion(), "SW 3.2 Rev 5");
  EXPECT_EQ(system.GetBootloaderVersion(), "BL 1.0");
  EXPECT_EQ(ident->LastSet("DPORT RATE"), "9");
  EXPECT_EQ(Clean(unit.Commands()),
            (std::vector<std::string>{"DATAMODE", "MCU CLI OFF", "####", "INFO ID", "DD", "MPORT RATE",
                                      "DPORT RATE 9", "@RX OFF", "XMOD CFGUP", "@RX ON", "INFO HW", "INFO SW",
                                      "INFO BL"}));
  // Identifying again through the current device's interface finds the same unit; the factory
  // write mark does not survive it.
  system.SetFactoryWrite(true);
  EXPECT_EQ(Run(VkcSystem::kOpIdentifyAgain, reinterpret_cast<intptr_t>(system.GetCurrentDevice())), 0u);
  EXPECT_EQ(system.GetProductId(), 4);
  EXPECT_FALSE(system.IsFactoryWrite());
}

TEST_F(SystemIdentify, StartupCodeUnitHasNothingToRead) {
  IdentOptions options;
  options.code = IdentOptions::Code::Startup;
  Start(options);
  EXPECT_EQ(Run(VkcSystem::kOpIdentify), 0u);
  EXPECT_EQ(system.GetProductId(), -1);
  EXPECT_EQ(system.GetSoftwareVersion(), "N/A");
  for (const std::string& c : Clean(unit.Commands())) {
    EXPECT_NE(c.rfind("XMOD", 0), 0u);
    EXPECT_NE(c, "INFO SW");
  }
}

TEST_F(SystemIdentify, UnansweredVersionFailsAndLeavesNoUnit) {
  IdentOptions options;
  options.modelKey = "4";
  Start(options);
  control.SetUnanswered("INFO SW");
  EXPECT_EQ(Run(VkcSystem::kOpIdentify), 1u);
  std::vector<std::string> errors = Errors();
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors.back(), "Can not get Software Version = \"\"");
  // The failed identification leaves no current device and no versions behind.
  EXPECT_EQ(system.GetCurrentDevice(), nullptr);
  EXPECT_EQ(system.GetProductId(), VkcSystem::kNoProduct);
  EXPECT_EQ(system.GetHardwareVersion(), "N/A");
  EXPECT_TRUE(system.User().IsEmpty());
}

TEST_F(SystemIdentify, StopEndsASilentSweepPromptly) {
  IdentOptions options;
  Start(options);
  unit.SetSilent(true);
  stop.Set();
  EXPECT_EQ(Run(VkcSystem::kOpIdentify), 1u);
  EXPECT_EQ(system.GetCurrentDevice(), nullptr);
}

TEST_F(SystemIdentify, RebootRunsAtTheStoredRateAndIdentifiesAgain) {
  IdentOptions options;
  options.modelKey = "4";
  Start(options);
  sim::RebootOptions reboot;
  reboot.rateAfter = 14400;
  reboot.bannerDelayMs = 3000;  // the unit restarts well after the program has changed its rate
  sim::InstallReboot(unit, reboot);
  ASSERT_EQ(Run(VkcSystem::kOpIdentify), 0u);
  // Maintenance rate code 5 (index 4): the unit comes back at 14400.
  system.WriteInt(VkcNodes::kMaintenancePortRate, 5);
  system.SetBluetoothChanged(true);
  unit.ClearRecord();
  window.Clear();
  system.GetLog().Clear();
  EXPECT_EQ(Run(VkcSystem::kOpReboot, -1), 0u) << ::testing::PrintToString(Errors());
  EXPECT_EQ(port.GetBaudRate(), 14400u);
  EXPECT_FALSE(system.IsBluetoothChanged());
  EXPECT_EQ(system.GetProductId(), 4);
  std::vector<std::string> commands = Clean(unit.Commands());
  ASSERT_GE(commands.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(commands.begin(), commands.begin() + 3),
            (std::vector<std::string>{"DD", "@BT OFF", "BOOT"}));
  EXPECT_EQ(commands.back(), "INFO BL");
  EXPECT_EQ(unit.CommandRecords().back().lineRate, 14400u);
  // The log line went to the window's mailbox first.
  std::vector<platform::PostedMessage> mailbox;
  for (const auto& m : window.Messages(kMsgProgress)) {
    if (m.wParam == kProgressMailbox) mailbox.push_back(m);
  }
  ASSERT_FALSE(mailbox.empty());
  EXPECT_EQ(mailbox.front().lParam, reinterpret_cast<intptr_t>(&system.GetLog()));
  EXPECT_EQ(system.GetLog().TakeTextUtf8().rfind("Rebooting the unit\r\n", 0), 0u);
}

TEST_F(SystemIdentify, RebootWithoutBannerFailsAndClearsTheBluetoothMark) {
  IdentOptions options;
  options.modelKey = "4";
  Start(options);
  ASSERT_EQ(Run(VkcSystem::kOpIdentify), 0u);
  system.SetBluetoothChanged(true);
  unit.ClearRecord();
  EXPECT_EQ(Run(VkcSystem::kOpReboot, 2), 1u);
  EXPECT_FALSE(system.IsBluetoothChanged());
  std::vector<std::string> commands = Clean(unit.Commands());
  EXPECT_EQ(commands, (std::vector<std::string>{"DD", "@BT OFF", "BOOT IMAGE 2"}));
}

TEST_F(SystemIdentify, PrepareForDownloadNeedsTheCommandLine) {
  IdentOptions options;
  options.modelKey = "4";
  Start(options);
  ASSERT_EQ(Run(VkcSystem::kOpIdentify), 0u);
  unit.ClearRecord();
  system.GetLog().Clear();
  EXPECT_EQ(Run(VkcSystem::kOpPrepareDownload), 0u);
  EXPECT_EQ(Clean(unit.Commands()), std::vector<std::string>{"DD"});
  EXPECT_EQ(system.GetLog().TakeTextUtf8(), "Preparing for download...\r\n");
  // A unit that neither answers "DD" nor the escape cannot be prepared.
  unit.SetSilent(true);
  EXPECT_EQ(Run(VkcSystem::kOpPrepareDownload), 2u);
  // Unknown operations do nothing and succeed.
  unit.ClearRecord();
  EXPECT_EQ(Run(42), 0u);
  EXPECT_TRUE(unit.Received().empty());
}

TEST_F(SystemIdentify, PassThroughSetsOnlyAUnitRateAndRunsTheGateway) {
  Start(IdentOptions{});
  auto owned = std::make_unique<ScriptedInterface>(std::vector<int>{});
  ScriptedInterface* iface = owned.get();
  ASSERT_TRUE(manager.AddInterface(7, std::move(owned)));
  CfgNode& serial = settings.Root().GetChild(std::string_view("Serial Interface"));
  serial.GetChild(std::string_view("Interface")).SetInt(7);
  // Never stored: the line keeps its rate (0 would hang it up).
  EXPECT_EQ(Run(VkcSystem::kOpPassThrough, 1), 3u);
  EXPECT_EQ(port.GetBaudRate(), 115200u);
  serial.GetChild(std::string_view("Rate")).SetInt(12345);
  EXPECT_EQ(Run(VkcSystem::kOpPassThrough, 0), 3u);
  EXPECT_EQ(port.GetBaudRate(), 115200u);
  serial.GetChild(std::string_view("Rate")).SetInt(9600);
  EXPECT_EQ(Run(VkcSystem::kOpPassThrough, 1), 3u);
  EXPECT_EQ(port.GetBaudRate(), 9600u);
  EXPECT_EQ(iface->passThrough, (std::vector<bool>{true, false, true}));
  // Without a window, or with an interface that does not exist, nothing is switched.
  EXPECT_EQ(system.Process(VkcSystem::kOpPassThrough, 1, platform::kNoWindow, stop), 0u);
  serial.GetChild(std::string_view("Interface")).SetInt(5);
  EXPECT_EQ(Run(VkcSystem::kOpPassThrough, 1), 0u);
  EXPECT_EQ(iface->passThrough.size(), 3u);
}

TEST_F(SystemIdentify, ModeSwitchesTryThreeTimes) {
  Start(IdentOptions{});
  auto owned = std::make_unique<ScriptedInterface>(std::vector<int>{1, 1, 0, 1, 1, 1, 5, 1, 1, 1});
  ScriptedInterface* iface = owned.get();
  ASSERT_TRUE(manager.AddInterface(7, std::move(owned)));
  settings.Root().GetChild(std::string_view("Serial Interface")).GetChild(std::string_view("Interface")).SetInt(7);
  EXPECT_TRUE(system.SwitchToCommandMode(true));
  EXPECT_EQ(iface->calls, 3);
  EXPECT_FALSE(system.SwitchToCommandMode(true));
  EXPECT_EQ(iface->calls, 6);
  EXPECT_EQ(Errors(), std::vector<std::string>{"Tries for Switch to CLI are expired"});
  EXPECT_FALSE(system.SwitchToCommandMode(true));  // any other answer fails at once
  EXPECT_EQ(iface->calls, 7);
  EXPECT_FALSE(system.SwitchToDataMode(false));  // three answers of 1: no log line
  EXPECT_EQ(iface->calls, 10);
  EXPECT_EQ(Errors().size(), 1u);
  // A model reached through an interface nobody registers (the Topcon line) cannot be switched.
  system.SetCurrentDevice(manager.GetDevice(22));
  EXPECT_FALSE(system.SwitchToCommandMode(true));
  EXPECT_EQ(Errors().back(), "No device interface 3 to switch the unit's mode");
  // A unit in its start-up code always listens: nothing is asked.
  system.SetCurrentDevice(manager.GetDevice(-1));
  EXPECT_TRUE(system.SwitchToCommandMode(true));
  EXPECT_FALSE(system.SwitchToDataMode(true));
  EXPECT_EQ(iface->calls, 10);
  EXPECT_TRUE(unit.Received().empty());
}

}  // namespace
