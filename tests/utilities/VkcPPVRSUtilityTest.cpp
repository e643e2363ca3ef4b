// The RTN utility page on its model against a simulated GSM unit: each service configured,
// connected, watched and disconnected; failed connects and every refusal give the lock back, so
// the program can close.

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "link/VkcMessageIds.h"
#include "pages/NetworkServiceTestUnit.h"
#include "platform/Messages.h"
#include "support/FakePageHost.h"
#include "support/PageWidgets.h"
#include "utilities/VkcPPVRSUtility.h"
#include "utilities/VkcPPVRSUtilityModel.h"
#include "unit/VkcConfigFile.h"

namespace {

using M = VkcPPVRSUtilityModel;
using Ctl = VkcISUtilityController;

class VrsUtilityPage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.Connect(host));
    page.SetHost(&host);
    page.SetWindow(window.Handle());
    page.Refresh();
  }
  void TearDown() override {
    // A service left running is disconnected, so the monitor ends before the unit goes.
    if (!Rtn().IsIdle()) Click(M::kConnect);
  }
  Ctl& Rtn() { return *host.System().GetRtnController(); }
  void Click(int id) { page.Handle(id, ControlEvent::Clicked); }
  void Choose(int id, int index) {
    page.Controls().Select(id, index);
    page.Handle(id, ControlEvent::SelectionChanged);
  }
  // Hands the page the notices posted so far, until one with this first parameter came.
  bool Pump(intptr_t notice) {
    bool seen = false;
    for (int i = 0; i < 200 && !seen; ++i) {
      window.WaitForMessage(kMsgRtnUtility, 50);
      std::vector<platform::PostedMessage> posted = window.Messages(kMsgRtnUtility);
      window.Clear();
      for (const auto& m : posted) {
        page.OnUtilityMessage(m.wParam, m.lParam);
        seen = seen || m.wParam == notice;
      }
    }
    return seen;
  }
  void Type(int kind) {
    Choose(M::kService, kind);
    page.Controls().SetText(M::kHost, u"caster.example");
    page.Controls().SetText(M::kPort, u"2101");
    page.Controls().SetText(M::kLogin, u"user");
    page.Controls().SetText(M::kPassword, u"secret");
    page.Controls().SetText(M::kMountPoint, u"MP1");
    page.Controls().SetText(M::kNmea, u"$GPGGA,1");
    page.Controls().Select(M::kRouting, 3);
  }

  nettest::ScopedTimeScale scale{0.05};
  nettest::SimGsmUnit sim;
  // Declared after the unit: the connected unit (and its monitor) ends first.
  testsupport::FakePageHost host;
  platform::RecordingWindow window;
  M page;
};

TEST_F(VrsUtilityPage, EachServiceIsConfiguredConnectedMonitoredAndDisconnected) {
  EXPECT_TRUE(page.Controls().Get(M::kConnect).enabled);
  EXPECT_EQ(page.Controls().Get(M::kRouting).ItemCount(), 10);  // the model's route names
  EXPECT_EQ(page.Controls().Selection(M::kRouting), 3);         // routing 4 from the image
  for (int kind : {0, 1, 2}) {
    SCOPED_TRACE(kind);
    Type(kind);
    EXPECT_EQ(page.Controls().Get(M::kHost).readOnly, kind == 2);
    EXPECT_EQ(page.Controls().Get(M::kNmea).enabled, kind == 1);
    Click(M::kConnect);
    EXPECT_EQ(host.messages, std::vector<std::string>{});
    EXPECT_TRUE(host.IsProcessRunning());  // held while the service runs
    EXPECT_EQ(host.runs.back().options.caption, u"RTN Connecting");
    EXPECT_TRUE(host.runs.back().options.stopEnabled);
    EXPECT_FALSE(host.runs.back().options.escCancels);
    EXPECT_EQ(sim.rtn.Setting("TYPE"), std::to_string(kind));
    EXPECT_EQ(sim.rtn.Setting("HOSTPORT"), "2101");
    EXPECT_EQ(sim.rtn.Setting("ROUTE"), "4");
    ASSERT_TRUE(Pump(Ctl::kNoticeStatus));
    EXPECT_EQ(page.Controls().Text(M::kConnect), u"Disconnect");
    EXPECT_FALSE(page.Controls().Get(M::kLogin).enabled);
    EXPECT_EQ(page.Controls().Text(M::kRssi), u"-71");
    EXPECT_EQ(page.Controls().Text(M::kState), u"CONNECTED");
    EXPECT_EQ(page.Controls().Text(M::kError), u"NONE");
    if (kind == 2) {
      EXPECT_EQ(page.Controls().Text(M::kHost), u"10.1.2.3");
    }

    Click(M::kConnect);
    EXPECT_EQ(host.runs.back().options.caption, u"RTN Disconnecting");
    ASSERT_TRUE(Pump(Ctl::kNoticeStopped));
    EXPECT_FALSE(host.IsProcessRunning());
    EXPECT_FALSE(sim.rtn.Connected());
    EXPECT_EQ(page.Controls().Text(M::kConnect), u"Connect");
    EXPECT_EQ(page.Controls().Text(M::kRssi), u"N/A");
    EXPECT_TRUE(page.Controls().Get(M::kLogin).enabled);
    EXPECT_EQ(host.messages, std::vector<std::string>{});
  }
}

TEST_F(VrsUtilityPage, FailedConnectsShowTheirMessageAndFreeTheLock) {
  struct Case {
    const char* name;
    void (*arrange)(sim::SimRtn&);
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"could not connect", [](sim::SimRtn& s) { s.SetConnectResult(7); }, {"RTN service could not connect"}},
      {"refused setting", [](sim::SimRtn& s) { s.SetFailure("RTN TYPE 1", 2); }, {"Incorrect command sent to unit"}},
      {"unknown code", [](sim::SimRtn& s) { s.SetConnectResult(6); }, {"RTN service could not connect"}},
      {"silent unit", [](sim::SimRtn& s) { s.SetUnanswered("RTN CONNECT 1"); }, {"No Response from the unit"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimRtn fresh(sim.unit);
    c.arrange(fresh);
    host.messages.clear();
    Type(1);
    Click(M::kConnect);
    EXPECT_EQ(host.messages, c.messages);
    EXPECT_FALSE(host.IsProcessRunning());
    EXPECT_TRUE(Rtn().IsIdle());
    EXPECT_EQ(page.Controls().Text(M::kConnect), u"Connect");
  }
}

TEST_F(VrsUtilityPage, RefusedInputAndABusyProgramStartNothing) {
  struct Case {
    int id;
    std::u16string text;
    const char* message;
  };
  const Case cases[] = {{M::kHost, std::u16string(65, u'h'), "Not valid Host name.\r\n"},
                        {M::kLogin, std::u16string(65, u'l'), "Not valid Login.\r\n"},
                        {M::kPassword, std::u16string(65, u'p'), "Not valid Password.\r\n"},
                        {M::kMountPoint, std::u16string(65, u'm'), "Not valid Mount point.\r\n"},
                        {M::kNmea, std::u16string(129, u'n'), "Not valid NMEA GGA message.\r\n"}};
  Type(1);
  for (const Case& c : cases) page.Handle(c.id, ControlEvent::FocusLost);  // taken as typed
  for (const Case& c : cases) {
    host.messages.clear();
    const std::u16string before = page.Controls().Text(c.id);
    page.Controls().SetText(c.id, c.text);
    page.Handle(c.id, ControlEvent::FocusLost);
    EXPECT_EQ(host.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(page.Controls().Text(c.id), before);
  }
  // A port out of range comes back without a message.
  host.messages.clear();
  page.Controls().SetText(M::kPort, u"70000");
  page.Handle(M::kPort, ControlEvent::FocusLost);
  EXPECT_EQ(host.messages, std::vector<std::string>{});
  EXPECT_EQ(page.Controls().Text(M::kPort), u"2101");

  // A line break in a value loaded from a file never reaches the unit.
  Type(1);
  page.Controls().SetText(M::kLogin, u"user\r\nRTN CONNECT 1");
  const size_t sent = sim.unit.CommandCount();
  Click(M::kConnect);
  EXPECT_EQ(host.messages.back(), "Not valid Login.\r\n");
  EXPECT_FALSE(host.IsProcessRunning());
  EXPECT_EQ(sim.unit.CommandCount(), sent);

  // Another operation holds the lock.
  Type(1);
  const int other = 0;
  ASSERT_TRUE(host.LockProcess(&other));
  Click(M::kConnect);
  EXPECT_EQ(host.messages.back(), "Unable to run process.\nAnother process is running");
  EXPECT_TRUE(Rtn().IsIdle());
  host.UnlockProcess(&other);

  // No open port.
  sim.port.Close();
  Click(M::kConnect);
  EXPECT_EQ(host.messages.back(), "Communication port is not open");
  EXPECT_FALSE(host.IsProcessRunning());
}

TEST_F(VrsUtilityPage, RefreshEnablesConnectMonitorAndTheStatusFields) {
  page.Controls().SetCheck(M::kMonitor, false);
  Click(M::kMonitor);
  page.Refresh();
  for (int id : {M::kConnect, M::kMonitor, M::kRssi, M::kState, M::kError}) {
    EXPECT_TRUE(page.Controls().Get(id).enabled) << id;
  }
}

// What was typed stays while the unit is the same one: identified again, or given a factory file
// (which replaces the serial number only in the images); another unit shows its own stored values.
TEST_F(VrsUtilityPage, TypedValuesStayUntilAnotherUnitIsIdentified) {
  const std::u16string stored = page.Controls().Text(M::kLogin);
  ASSERT_NE(stored, u"user");
  const uint8_t otherSerial[6] = {0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB};
  VkcConfiguration otherImage = sim::GsmUserImage(otherSerial);
  for (int k : {0, 2, 3}) otherImage.GetChild(1).GetChildAt(1).GetChildAt(10).GetChildAt(k).SetString("unit2");
  nettest::SimGsmUnit other(otherImage, otherSerial);
  const struct {
    const char* step;
    std::function<void()> act;
    std::u16string login;
  } steps[] = {
      {"the same unit identified again", [&] {
         platform::Event stop(platform::Event::ResetMode::Manual);
         ASSERT_EQ(host.System().Process(VkcSystem::kOpIdentify, 0, platform::kNoWindow, stop), 0u);
       }, u"user"},
      {"a factory file", [&] {
         VkcConfiguration file(host.System().Factory());
         const uint8_t replaced[6] = {0x77, 0x66, 0x55, 0x44, 0x33, 0x22};
         file.Root().GetChildAt(0).GetChildAt(0).SetBytes(replaced, sizeof replaced);
         std::string message;
         ASSERT_EQ(VkcConfigFile::Apply(file, true, host.System(), host.DeviceManager(), message),
                   VkcConfigFile::Loaded::kFactory) << message;
       }, u"user"},
      {"another unit", [&] { ASSERT_TRUE(other.Connect(host)); }, u"unit2"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    Type(0);
    ASSERT_TRUE(page.Apply());
    s.act();
    page.Refresh();
    EXPECT_EQ(page.Controls().Text(M::kLogin), s.login);
  }
  ASSERT_TRUE(sim.Connect(host));  // the host's port is this test's unit again before the other one goes
}

TEST_F(VrsUtilityPage, MonitorCheckBoxPausesAndResumesTheStatus) {
  Type(0);
  Click(M::kConnect);
  ASSERT_TRUE(Pump(Ctl::kNoticeStatus));
  page.Controls().SetCheck(M::kMonitor, false);
  Click(M::kMonitor);
  EXPECT_FALSE(page.Controls().Get(M::kRssi).enabled);
  ASSERT_TRUE(Pump(Ctl::kNoticePaused));
  EXPECT_EQ(page.Controls().Text(M::kRssi), u"N/A");
  page.Controls().SetCheck(M::kMonitor, true);
  Click(M::kMonitor);
  ASSERT_TRUE(Pump(Ctl::kNoticeStatus));
  EXPECT_EQ(page.Controls().Text(M::kRssi), u"-71");

  // The unit stops answering: the monitor ends with its message, the lock is free and the
  // service can still be disconnected.
  sim.rtn.SetUnanswered("RTN ERROR");
  ASSERT_TRUE(Pump(Ctl::kNoticeEnded));
  EXPECT_EQ(host.messages, std::vector<std::string>{"Monitoring process failed!"});
  EXPECT_FALSE(host.IsProcessRunning());
  EXPECT_EQ(page.Controls().Text(M::kConnect), u"Disconnect");
  sim.rtn.SetUnanswered("RTN ERROR", false);
  Click(M::kConnect);
  ASSERT_TRUE(Pump(Ctl::kNoticeStopped));
  EXPECT_FALSE(host.IsProcessRunning());
  EXPECT_FALSE(sim.rtn.Connected());
}

}  // namespace

namespace {

// The page's widgets and its window: the notices arrive through the user-interface thread's queue.
TEST(VrsUtilityView, ConnectShowsTheStatusAndDisconnectFreesTheLock) {
  nettest::ScopedTimeScale scale(0.05);
  nettest::SimGsmUnit sim;
  testsupport::FakePageHost host;
  ASSERT_TRUE(sim.Connect(host));
  VkcPPVRSUtility page;
  page.SetPageHost(&host);
  page.RefreshPage();
  auto* button = page.findChild<QPushButton*>(QStringLiteral("ctl%1").arg(M::kConnect));
  auto* rssi = page.findChild<QLineEdit*>(QStringLiteral("ctl%1").arg(M::kRssi));
  ASSERT_NE(button, nullptr);
  ASSERT_NE(rssi, nullptr);
  EXPECT_TRUE(rssi->isReadOnly());
  for (int id : {M::kHost, M::kLogin, M::kPassword, M::kMountPoint, M::kNmea})
    EXPECT_TRUE(testsupport::RefusesControlCharacters(testsupport::Control<QLineEdit>(&page, id))) << id;
  auto until = [](const std::function<bool()>& done) {
    for (int i = 0; i < 400 && !done(); ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      platform::SleepMs(5);
    }
    return done();
  };
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(until([&] { return rssi->text() == QStringLiteral("-71"); }));
  EXPECT_EQ(button->text(), QStringLiteral("Disconnect"));
  EXPECT_TRUE(host.IsProcessRunning());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(until([&] { return button->text() == QStringLiteral("Connect"); }));
  EXPECT_FALSE(host.IsProcessRunning());
  EXPECT_EQ(host.messages, std::vector<std::string>{});
}

}  // namespace
