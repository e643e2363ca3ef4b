// The MCU command line: the record's route mapping, the MCU image, and the exchanges end to end
// against the simulated MCU in front of the simulated radio.

#include <gtest/gtest.h>

#include "devices/VkcDeviceManager.h"
#include "devices/VkcMCUController.h"
#include "devices/VkcUnitImages.h"
#include "link/Utf.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcConfiguration.h"
#include "link/VkcSerialPort.h"
#include "platform/Timing.h"
#include "sim/SimIdent.h"
#include "sim/SimMcu.h"
#include "support/ControlCharacters.h"

namespace {

TEST(McuSettings, RouteIndexMapping) {
  VkcMCUSettings s;
  EXPECT_EQ(s.GetRoute(), 0);  // no MCU reads as "Modem to USB"
  for (int index : {0, 1, 2}) {
    s.SetRoute(index);
    EXPECT_EQ(s.GetRoute(), index);
  }
  s.SetRoute(1);
  EXPECT_EQ(s.GetRouteCode(), VkcMCUSettings::kRouteBt);
  s.SetRoute(5);
  EXPECT_EQ(s.GetRouteCode(), VkcMCUSettings::kRouteBt);
}

TEST(McuImage, RoundTripAndSerialGate) {
  VkcMCUController a;
  VkcConfiguration image;
  EXPECT_FALSE(a.SaveSettingsToImage(image));  // no MCU: the image stays untouched
  EXPECT_TRUE(image.IsEmpty());
  EXPECT_FALSE(a.LoadSettingsFromImage(image));

  VkcMCUSettings& s = a.Settings();
  s.SetRoute(2);
  s.SetBluetoothName("Unit7");
  s.SetPin("0000");
  s.SetRemoteAddress("00AA00BB00CC");
  s.SetBluetoothEnabled(true);
  s.SetMaster(true);
  s.SetHasSerialPort(true);
  s.SetSerialType(2);
  s.SetSerialRate(6);
  EXPECT_TRUE(a.SaveSettingsToImage(image));
  EXPECT_EQ(image.GetChild(2).GetInt(), 2);

  VkcMCUController b;
  EXPECT_TRUE(b.LoadSettingsFromImage(image));
  EXPECT_EQ(b.Settings(), a.Settings());

  // Without a serial port the type and rate nodes keep what they held.
  s.SetHasSerialPort(false);
  s.SetSerialType(0);
  s.SetSerialRate(9);
  EXPECT_TRUE(a.SaveSettingsToImage(image));
  EXPECT_EQ(image.GetChild(1).GetChildAt(1).GetInt(), 2);
  EXPECT_EQ(image.GetChild(1).GetChildAt(2).GetInt(), 6);
  VkcMCUController c;
  c.Settings().SetSerialRate(3);
  EXPECT_TRUE(c.LoadSettingsFromImage(image));
  EXPECT_EQ(c.Settings().GetSerialRate(), 3u);
  EXPECT_FALSE(c.Settings().HasSerialPort());

  int count = 0;
  const char16_t* const* names = c.GetRouteNames(count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Utf16ToUtf8(names[2]), "Modem to UART");
  std::vector<int> rates{1};
  c.GetSerialRateChoices(rates);
  EXPECT_TRUE(rates.empty());
  a.Settings().SetHasSerialPort(true);
  a.GetSerialRateChoices(rates);
  EXPECT_EQ(rates, (std::vector<int>{3, 4, 6, 8, 9}));
}

class McuLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.1);
    manager_.RegisterPrototypes();
    images_.SetCurrentDevice(manager_.GetDevice(48));
    SetGlobalUnitImages(&images_);
  }
  void TearDown() override {
    port_.Close();
    SetGlobalUnitImages(nullptr);
    platform::SetTimeScale(1.0);
  }
  void Start(const sim::McuState& state, bool withMcu = true) {
    if (withMcu) mcu_ = std::make_unique<sim::SimMcu>(unit_, state);
    ident_ = std::make_unique<sim::SimIdent>(unit_, sim::IdentOptions{}, mcu_.get());
    ASSERT_TRUE(port_.Open(unit_.SlavePath16(), 115200, 8, 0, 0));
  }

  VkcDeviceManager manager_;
  VkcUnitImages images_;
  std::unique_ptr<sim::SimMcu> mcu_;  // both outlive the unit's thread
  std::unique_ptr<sim::SimIdent> ident_;
  sim::SimUnit unit_;
  VkcSerialPort port_;
  VkcMCUController& mcu() { return manager_.GetMCUController(); }
};

// A configuration file's Bluetooth text with a control character is not taken: the record keeps
// what it had and the load says so.
TEST(McuImage, ATextWithAControlCharacterIsNotTaken) {
  VkcMCUController saved;
  VkcMCUSettings& s = saved.Settings();
  s.SetRoute(2);
  s.SetBluetoothName("Ro\rJLDEV BT OFF");
  s.SetPin("12\x7F");
  s.SetRemoteAddress("00\n1122");
  s.SetMaster(true);
  VkcConfiguration image;
  ASSERT_TRUE(saved.SaveSettingsToImage(image));

  ErrorLog().Clear();
  VkcMCUController loaded;
  loaded.Settings().SetBluetoothName("Old");
  loaded.Settings().SetPin("0000");
  loaded.Settings().SetRemoteAddress("AABBCCDDEEFF");
  EXPECT_TRUE(loaded.LoadSettingsFromImage(image));
  EXPECT_EQ(loaded.Settings().GetBluetoothName(), "Old");
  EXPECT_EQ(loaded.Settings().GetPin(), "0000");
  EXPECT_EQ(loaded.Settings().GetRemoteAddress(), "AABBCCDDEEFF");
  EXPECT_TRUE(loaded.Settings().IsMaster());
  EXPECT_EQ(loaded.Settings().GetRoute(), 2);
  EXPECT_EQ(ErrorLog().Count(), 3u);
}

TEST_F(McuLineTest, ProbeFindsTheMcuAndRoutesToThePcsPort) {
  sim::McuState state;
  state.route = "MDMBT";
  state.currentPort = "USB";
  Start(state);
  mcu().ProbeMcu(&port_, 0, nullptr);
  EXPECT_EQ(mcu().Settings().GetRouteCode(), VkcMCUSettings::kRouteBt);
  EXPECT_EQ(unit_.Commands(), (std::vector<std::string>{"\nDATAMODE", "\nMCU CLI OFF", "####", "\nJLROUTE",
                                                         "\nJLDEV CURPORT", "\nJLROUTE MDMUSB", "\nMCU CLI OFF"}));
  EXPECT_FALSE(mcu_->InCommandLine());
}

TEST_F(McuLineTest, ProbeWithoutMcuChangesNothing) {
  Start({}, false);
  mcu().Settings().SetRoute(2);
  mcu().ProbeMcu(&port_, 0, nullptr);
  EXPECT_EQ(mcu().Settings().GetRouteCode(), VkcMCUSettings::kRouteUart);
  EXPECT_EQ(unit_.Commands(), (std::vector<std::string>{"\nDATAMODE", "\nMCU CLI OFF"}));
}

TEST_F(McuLineTest, UnknownCurrentPortForgetsTheMcu) {
  sim::McuState state;
  state.currentPort = "???";
  Start(state);
  mcu().ProbeMcu(&port_, 0, nullptr);
  EXPECT_FALSE(mcu().IsPresent());
  EXPECT_EQ(unit_.Commands()[5], "\nJLROUTE MDMUSB");
}

TEST_F(McuLineTest, ReadAllFillsTheRecord) {
  sim::McuState state;
  state.radioReplyForm = true;
  state.serialRate = "115200";
  state.serialType = "RS485";
  state.currentPort = "BT";
  state.master = true;
  Start(state);
  mcu().Settings().SetRoute(0);
  EXPECT_TRUE(mcu().ReadAll(&port_));
  const VkcMCUSettings& s = mcu().Settings();
  EXPECT_EQ(s.GetBluetoothName(), "Unit7");  // without the reply's line break
  EXPECT_EQ(s.GetPin(), "1234");
  EXPECT_EQ(s.GetRemoteAddress(), "001122334455");
  EXPECT_EQ(s.GetOwnAddress(), "AABBCCDDEEFF");
  EXPECT_TRUE(s.IsBluetoothEnabled());
  EXPECT_TRUE(s.IsMaster());
  EXPECT_EQ(s.GetCurrentPort(), 2);
  EXPECT_EQ(s.GetSerialType(), 2);
  EXPECT_TRUE(s.HasSerialPort());
  EXPECT_EQ(s.GetSerialRate(), 9u);
  EXPECT_EQ(mcu_->State().route, "MDMUSB");
  EXPECT_FALSE(mcu_->InCommandLine());
}

TEST_F(McuLineTest, BlanksAroundAValueArePartOfIt) {
  sim::McuState state;
  state.name = " Unit 7 ";
  state.pin = "12 ";
  Start(state);
  mcu().Settings().SetRoute(0);
  EXPECT_TRUE(mcu().ReadAll(&port_));
  EXPECT_EQ(mcu().Settings().GetBluetoothName(), " Unit 7 ");
  EXPECT_EQ(mcu().Settings().GetPin(), "12 ");
}

TEST_F(McuLineTest, WriteAllSendsBluetoothOnlyWhenChanged) {
  sim::McuState state;
  state.radioReplyForm = false;
  Start(state);
  mcu().Settings().SetRoute(1);
  mcu().Settings().SetBluetoothName("Name14chars___");
  mcu().Settings().SetPin("87654321");
  mcu().Settings().SetRemoteAddress("123456789012");
  mcu().Settings().SetBluetoothEnabled(true);
  EXPECT_TRUE(mcu().WriteAll(&port_));
  std::vector<std::string> sent = unit_.Commands();
  EXPECT_EQ(sent.back(), "\nMCU CLI OFF");
  EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](auto& c) { return c.rfind("\nJLBT", 0) == 0; }), 0);

  unit_.ClearRecord();
  mcu().SetBluetoothChanged(true);
  EXPECT_TRUE(mcu().WriteAll(&port_));
  EXPECT_FALSE(mcu().IsBluetoothChanged());
  EXPECT_EQ(unit_.Commands(),
            (std::vector<std::string>{"\nDATAMODE", "\nMCU CLI OFF", "####", "\nJLDEV BT OFF",
                                      "\nJLBT NAME Name14chars___", "\nJLBT PIN 87654321", "\nJLBT MASTER OFF",
                                      "\nJLBT DSTADDR 123456789012", "\nJLDEV BT ON", "\nMCU CLI OFF"}));
  EXPECT_EQ(mcu_->State().name, "Name14chars___");
}

// A pasted "a\rJLDEV BT OFF" as the name would be a second MCU command: each control character,
// in each Bluetooth text in turn, keeps that text's command off the line and is logged; the
// other texts still go.
TEST_F(McuLineTest, BluetoothTextsWithAControlCharacterNeverReachTheMcu) {
  Start({});
  mcu().Settings().SetRoute(1);
  using Set = void (VkcMCUSettings::*)(std::string);
  const Set fields[] = {&VkcMCUSettings::SetBluetoothName, &VkcMCUSettings::SetPin,
                        &VkcMCUSettings::SetRemoteAddress};
  const std::vector<char> controls = testsupport::ControlCharacters();
  for (size_t i = 0; i < controls.size(); ++i) {
    VkcMCUSettings& s = mcu().Settings();
    s.SetBluetoothName("Unit7");
    s.SetPin("1234");
    s.SetRemoteAddress("001122334455");
    s.SetBluetoothEnabled(true);
    (s.*fields[i % 3])(std::string("a") + controls[i] + "INJ");
    unit_.ClearRecord();
    ErrorLog().Clear();
    mcu().SetBluetoothChanged(true);
    EXPECT_TRUE(mcu().WriteAll(&port_));
    const std::string sent = unit_.Received();
    EXPECT_EQ(sent.find("INJ"), std::string::npos) << int(controls[i]);
    EXPECT_TRUE(testsupport::OnlyLineFraming(sent)) << int(controls[i]);
    EXPECT_EQ(ErrorLog().Count(), 1u);
    EXPECT_NE(sent.find("\nJLDEV BT ON\r"), std::string::npos);
  }
  EXPECT_EQ(mcu_->State().name, "Unit7");
}

TEST_F(McuLineTest, LengthLimitsAndRateIndexes) {
  Start({});
  ASSERT_TRUE(mcu().EnterCommandLine(&port_));
  unit_.ClearRecord();
  EXPECT_FALSE(mcu().WriteBluetoothName(&port_, "Name15chars____"));
  EXPECT_FALSE(mcu().WritePin(&port_, "123456789"));
  EXPECT_FALSE(mcu().WriteRemoteAddress(&port_, "1234567890123"));
  EXPECT_FALSE(mcu().WriteSerialRate(&port_, 0));
  EXPECT_FALSE(mcu().WriteSerialRate(&port_, 10));
  EXPECT_TRUE(unit_.Commands().empty());
  EXPECT_EQ(port_.GetBaudRate(), 115200u);
  EXPECT_TRUE(mcu().WritePin(&port_, "12345678"));
  // The UART rate moves the PC's port along with the MCU.
  EXPECT_TRUE(mcu().WriteSerialRate(&port_, 6));
  EXPECT_EQ(port_.GetBaudRate(), 19200u);
  EXPECT_EQ(mcu().ReadSerialRate(&port_), 6);
  EXPECT_TRUE(mcu().LeaveCommandLine(&port_));
}

TEST_F(McuLineTest, SerialRateWithoutAReply) {
  sim::McuState state;
  state.hasSerial = false;
  Start(state);
  mcu().Settings().SetSerialRate(4);
  mcu().Settings().SetHasSerialPort(true);
  ASSERT_TRUE(mcu().EnterCommandLine(&port_));
  EXPECT_EQ(mcu().ReadSerialRate(&port_), 0);
  EXPECT_FALSE(mcu().Settings().HasSerialPort());
  EXPECT_EQ(mcu().Settings().GetSerialRate(), 4u);
}

TEST_F(McuLineTest, ApplyStoredRouteForgetsAnAbsentMcu) {
  Start({}, false);
  mcu().Settings().SetRoute(2);
  mcu().ApplyStoredRoute(&port_);
  EXPECT_FALSE(mcu().IsPresent());
}

}  // namespace

TEST_F(McuLineTest, StopEndsTheCompositesAndForgetsNoMcu) {
  Start({});
  mcu().Settings().SetRoute(0);
  mcu().Settings().SetHasSerialPort(true);
  mcu().Settings().SetSerialRate(9);
  unit_.SetSilent(true);
  platform::Event stop(platform::Event::ResetMode::Manual, true);
  const uint64_t start = platform::NowMs();
  EXPECT_FALSE(mcu().WriteAll(&port_, &stop));
  mcu().ApplyStoredRoute(&port_, &stop);
  mcu().RefreshRoute(&port_, &stop);
  EXPECT_LT(platform::NowMs() - start, 300u);  // silent, unstopped: seconds of exchanges and pauses
  EXPECT_TRUE(mcu().IsPresent());
}
