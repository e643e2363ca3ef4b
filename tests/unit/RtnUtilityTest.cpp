// The RTN utility's engine end to end: configure, connect, monitor and disconnect the network
// service of a simulated GSM unit over a pseudo-terminal, and what each result brings.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "devices/VkcDeviceManager.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcLogMessage.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "platform/Event.h"
#include "platform/Timing.h"
#include "UnitTestText.h"
#include "sim/SimIdent.h"
#include "sim/SimRtn.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControlFiles.h"
#include "support/ControlCharacters.h"
#include "unit/VkcISConfigController.h"
#include "unit/VkcISUtilityController.h"
#include "unit/VkcSystem.h"

namespace {

using Ctl = VkcISUtilityController;
using Report = VkcISUtilityController::Report;
using unittext::Clean;

constexpr uint32_t kWaitMs = 10000;

class RtnUtility : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.05);
    ErrorLog().Clear();
    manager.RegisterPrototypes();
    system.Attach(&manager, &settings, [this] { return &port; });
    sim::IdentOptions options;
    options.modelKey = "49";
    ident = std::make_unique<sim::SimIdent>(unit, options);
    files = std::make_unique<sim::SimUnitControlFiles>(unit);
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    ASSERT_EQ(system.Process(VkcSystem::kOpIdentify, 0, progress.Handle(), stop), 0u);
    ASSERT_EQ(system.GetProductId(), 49);
    rtn().SetWindow(page.Handle());
    ASSERT_TRUE(rtn().RefreshService());
    unit.ClearRecord();
  }
  void TearDown() override {
    // The monitor ends before the port goes.
    if (rtn().IsMonitorRunning()) {
      rtn().RequestMonitorStop();
      UtilityFinishedEvent().Wait(kWaitMs);
    }
    port.Close();
    files->StopTransfer();
    // The unit's thread handles no more lines once it has hung up: the families installed on it
    // go before the unit does.
    unit.HangUp();
    platform::SetTimeScale(1.0);
  }
  Ctl& rtn() { return *system.GetRtnController(); }
  // Entry 1 of the chosen service, as the page sets it.
  void Configure(int kind) {
    rtn().SelectService(kind);
    ASSERT_TRUE(rtn().SetHostName(u"caster.example"));
    ASSERT_TRUE(rtn().SetPort(2101));
    ASSERT_TRUE(rtn().SetLogin(u"user"));
    ASSERT_TRUE(rtn().SetPassword(u"secret"));
    ASSERT_TRUE(rtn().SetMountPoint(u"MP1"));
    ASSERT_TRUE(rtn().SetNmeaMessage(u"$GPGGA,1"));
    ASSERT_TRUE(rtn().SetRouting(4));
  }
  // Connect or disconnect as the page does: the monitor is asked to end first.
  Report Run(bool connect, bool stopped = false) {
    if (!connect) rtn().RequestMonitorStop();
    int result = static_cast<int>(system.Process(VkcSystem::kOpRtnService, connect ? 1 : 0, progress.Handle(), stop));
    return rtn().ReportResult(result, stopped);
  }
  bool WaitForNotice(intptr_t notice) {
    return page.WaitFor([notice](const std::vector<platform::PostedMessage>& m) {
      return std::any_of(m.begin(), m.end(), [notice](const platform::PostedMessage& p) {
        return p.msg == kMsgRtnUtility && p.wParam == notice;
      });
    }, kWaitMs);
  }
  // The monitor's end: its result, as the page gets it.
  int WaitForMonitorEnd() {
    EXPECT_TRUE(WaitForNotice(Ctl::kNoticeEnded));
    for (const auto& m : page.Messages(kMsgRtnUtility)) {
      if (m.wParam == Ctl::kNoticeEnded) return static_cast<int>(m.lParam);
    }
    return -100;
  }
  // The commands from the first "RTN CONNECT" query on.
  std::vector<std::string> Series() {
    std::vector<std::string> all = Clean(unit.Commands());
    auto first = std::find(all.begin(), all.end(), "RTN CONNECT");
    return std::vector<std::string>(first, all.end());
  }
  // The first commands of the series: once connected, the monitor starts at once and its own
  // commands may already follow.
  std::vector<std::string> SeriesHead(size_t n) {
    std::vector<std::string> all = Series();
    if (all.size() > n) all.resize(n);
    return all;
  }
  std::string ProgressLog() {
    std::string text;
    for (const auto& m : progress.Messages(kMsgProgress)) {
      if (m.wParam == kProgressMailbox) text += reinterpret_cast<VkcLogMessage*>(m.lParam)->TakeTextUtf8();
    }
    return text;
  }

  VkcDeviceManager manager;
  VkcConfiguration settings;
  platform::RecordingWindow page;
  platform::RecordingWindow progress;
  platform::Event stop{platform::Event::ResetMode::Manual};
  sim::SimUnit unit;
  sim::SimRtn service{unit};
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<sim::SimUnitControlFiles> files;
  VkcSerialPort port;
  VkcSystem system;
};

TEST_F(RtnUtility, EachServiceIsConfiguredConnectedMonitoredAndDisconnected) {
  struct Case {
    int kind;
    std::vector<std::string> series;
  };
  const Case cases[] = {
      {0, {"RTN CONNECT", "RTN TYPE 0", "RTN HOSTNAME caster.example", "RTN HOSTPORT 2101", "RTN LOGIN user",
           "RTN PASSWORD secret", "DPORT ROUTE 4", "RTN CONNECT 1"}},
      {1, {"RTN CONNECT", "RTN TYPE 1", "RTN HOSTNAME caster.example", "RTN HOSTPORT 2101", "RTN LOGIN user",
           "RTN PASSWORD secret", "RTN MPOINT MP1", "RTN NMEA $GPGGA,1", "DPORT ROUTE 4", "RTN CONNECT 1"}},
      {2, {"RTN CONNECT", "RTN TYPE 2", "RTN HOSTPORT 2101", "RTN LOGIN user", "RTN PASSWORD secret",
           "DPORT ROUTE 4", "RTN CONNECT 1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    unit.ClearRecord();
    page.Clear();
    Configure(c.kind);
    ASSERT_TRUE(rtn().IsIdle());
    EXPECT_EQ(Run(true), Report{});  // nothing to show, the lock stays held
    EXPECT_EQ(SeriesHead(c.series.size()), c.series);
    EXPECT_FALSE(rtn().IsIdle());
    EXPECT_TRUE(service.Connected());
    ASSERT_TRUE(WaitForNotice(Ctl::kNoticeRunning));
    ASSERT_TRUE(WaitForNotice(Ctl::kNoticeStatus));
    RtnStatusRecord status = rtn().GetStatus();
    EXPECT_EQ(status.rssi, u"-71");
    EXPECT_EQ(status.state, u"CONNECTED");
    EXPECT_EQ(status.error, u"NONE");
    if (c.kind == 2) {
      EXPECT_EQ(rtn().GetHostName(), u"10.1.2.3");  // the server's address, read at start
    }

    unit.ClearRecord();
    Report off = Run(false);
    EXPECT_EQ(off.messages, std::vector<std::string>{});
    EXPECT_TRUE(off.release);
    EXPECT_EQ(WaitForMonitorEnd(), Ctl::kResultStopped);
    EXPECT_EQ(rtn().ReportMonitorResult(Ctl::kResultStopped), Report{});
    EXPECT_TRUE(WaitForNotice(Ctl::kNoticeStopped));
    EXPECT_FALSE(service.Connected());
    EXPECT_TRUE(rtn().IsIdle());
    EXPECT_EQ(Series().back(), "RTN CONNECT 0");
    if (c.kind == 2) {
      EXPECT_TRUE(rtn().GetHostName().empty());
    }
  }
  EXPECT_EQ(unittext::ErrorTexts(), std::vector<std::string>{});
}

TEST_F(RtnUtility, EveryResultGivesTheLockBackUnlessTheServiceRuns) {
  struct Case {
    const char* name;
    void (*arrange)(sim::SimRtn&);
    std::vector<std::string> messages;
    std::string last;  // the last command sent
  };
  const Case cases[] = {
      {"refused login", [](sim::SimRtn& s) { s.SetFailure("RTN LOGIN user", 1); },
       {"Incorrect command sent to unit"}, "RTN LOGIN user"},
      {"could not connect", [](sim::SimRtn& s) { s.SetConnectResult(7); },
       {"RTN service could not connect"}, "RTN ERROR"},
      {"could not connect, no status", [](sim::SimRtn& s) { s.SetConnectResult(7); s.SetUnanswered("GSM RSSI"); },
       {"RTN service could not connect", "Could not connect RTN service"}, "GSM RSSI"},
      {"code without a text", [](sim::SimRtn& s) { s.SetConnectResult(3); },
       {"RTN service could not connect"}, "RTN CONNECT 1"},
      {"silent connect", [](sim::SimRtn& s) { s.SetUnanswered("RTN CONNECT 1"); },
       {"No Response from the unit"}, "RTN CONNECT 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimRtn fresh(unit);  // a family of its own for each case, installed over the last
    c.arrange(fresh);
    unit.ClearRecord();
    Configure(1);
    Report report = Run(true);
    EXPECT_EQ(report.messages, c.messages);
    EXPECT_TRUE(report.release);
    EXPECT_TRUE(rtn().IsIdle());
    EXPECT_FALSE(rtn().IsMonitorRunning());
    EXPECT_EQ(Series().back(), c.last);
  }
  // The error log names the silent command, never a value.
  for (const std::string& text : unittext::ErrorTexts()) EXPECT_EQ(text.find("secret"), std::string::npos) << text;
  EXPECT_NE(std::find(unittext::ErrorTexts().begin(), unittext::ErrorTexts().end(),
                      "No response on command RTN CONNECT "),
            unittext::ErrorTexts().end());
}

TEST_F(RtnUtility, StopDuringConnectIsNotTakenForAConnection) {
  service.SetUnanswered("RTN CONNECT 1");
  Configure(0);
  std::thread stopper([this] {
    unit.WaitForReceived("RTN CONNECT 1", kWaitMs);
    stop.Set();
  });
  Report report = Run(true, /*stopped=*/true);
  stopper.join();
  stop.Reset();
  EXPECT_EQ(report, (Report{{}, true}));
  EXPECT_TRUE(rtn().IsIdle());
  EXPECT_FALSE(rtn().IsMonitorRunning());
  EXPECT_FALSE(page.WaitForMessage(kMsgRtnUtility, Ctl::kNoticeRunning, 50));
}

TEST_F(RtnUtility, UnitAlreadyInTheAskedStateWarnsAndFollowsIt) {
  service.SetConnected(true);
  Configure(1);
  Report on = Run(true);
  EXPECT_EQ(on.messages, std::vector<std::string>{"RTN service is connected. \r\n Please disconnect it at first!"});
  EXPECT_FALSE(on.release);  // taken as running: the monitor watches it
  EXPECT_TRUE(rtn().IsMonitorRunning());
  EXPECT_EQ(SeriesHead(1), std::vector<std::string>{"RTN CONNECT"});

  service.SetConnected(false);
  Report off = Run(false);
  EXPECT_EQ(off.messages, std::vector<std::string>{"The RTN service is already disconnected!"});
  EXPECT_TRUE(off.release);
  EXPECT_TRUE(rtn().IsIdle());
}

TEST_F(RtnUtility, MonitorPausesResumesAndFailsWithoutTakingTheService) {
  Configure(0);
  ASSERT_EQ(Run(true), Report{});
  ASSERT_TRUE(WaitForNotice(Ctl::kNoticeStatus));

  rtn().SetMonitoring(false);
  ASSERT_TRUE(WaitForNotice(Ctl::kNoticePaused));
  EXPECT_EQ(rtn().GetStatus().rssi, u"N/A");
  ASSERT_TRUE(unit.WaitForReceived("DATAMODE", kWaitMs));
  platform::SleepMs(platform::Scaled(3 * Ctl::kMonitorPeriodMs));
  std::vector<std::string> paused = Clean(unit.Commands());
  EXPECT_EQ(std::count(paused.begin(), paused.end(), "DATAMODE"), 1);
  unit.ClearRecord();
  platform::SleepMs(platform::Scaled(2 * Ctl::kMonitorPeriodMs));
  EXPECT_EQ(Clean(unit.Commands()), std::vector<std::string>{});  // no queries while paused

  page.Clear();
  rtn().SetMonitoring(true);
  ASSERT_TRUE(WaitForNotice(Ctl::kNoticeStatus));
  EXPECT_EQ(rtn().GetStatus().state, u"CONNECTED");

  // A unit that stops answering ends the monitor; the service stays connected.
  service.SetUnanswered("RTN STATE");
  EXPECT_EQ(WaitForMonitorEnd(), Ctl::kResultMonitorFailed);
  EXPECT_EQ(rtn().ReportMonitorResult(Ctl::kResultMonitorFailed), (Report{{"Monitoring process failed!"}, true}));
  EXPECT_FALSE(rtn().IsIdle());
  // Disconnect still works.
  service.SetUnanswered("RTN STATE", false);
  EXPECT_EQ(Run(false), (Report{{}, true}));
  EXPECT_FALSE(service.Connected());
  // A second connect after the disconnect runs and is watched again (no stale stop).
  page.Clear();
  EXPECT_EQ(Run(true), Report{});
  EXPECT_TRUE(WaitForNotice(Ctl::kNoticeStatus));
}

TEST_F(RtnUtility, UnitOutputWhileConnectingGoesToTheProgressLog) {
  service.SetConnectOutput({"AT\x07OK..\r\n", "..", "CONNECTED\r\n"});
  Configure(0);
  progress.Clear();
  ASSERT_EQ(Run(true), Report{});
  const std::string log = ProgressLog();
  EXPECT_NE(log.find("Configuring RTN service\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("AT.OK..\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("CONNECTED\r\n"), std::string::npos) << log;
  std::vector<intptr_t> percents;
  for (const auto& m : progress.Messages(kMsgProgress)) {
    if (m.wParam == kProgressPercent) percents.push_back(m.lParam);
  }
  ASSERT_GE(percents.size(), 3u);
  EXPECT_EQ(percents.front(), 10);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_GE(std::count(percents.begin(), percents.end(), 20), 1);
}

// Only the line end the echo leaves is skipped: an empty answer is an empty value, never the
// "@00" behind it.
TEST_F(RtnUtility, AnEmptyStatusValueStaysEmpty) {
  service.SetStatus("", "", "");
  service.SetServerHost("");
  ASSERT_TRUE(rtn().QueryStatus(&stop));
  const RtnStatusRecord status = rtn().GetStatus();
  EXPECT_EQ(status.rssi, u"");
  EXPECT_EQ(status.state, u"");
  EXPECT_EQ(status.error, u"");
  EXPECT_EQ(rtn().SendStatusCommand("RTN HOSTNAME\r\n", &stop), "");
  // The echo's line feed may also come ahead of the value, as LF or as CR LF.
  const struct {
    const char* body;
    const char* value;
  } answers[] = {{"\n\r\n@00\r\n", ""}, {"\r\n\r\n@00\r\n", ""}, {"\n@00\r\n", ""}, {"\n-71\r\n@00\r\n", "-71"},
                 {"\r\n CONNECTED\r\n@00\r\n", " CONNECTED"}, {"NONE\r\n@00\r\n", "NONE"}};
  for (const auto& a : answers) {
    for (const char* line : {"RTN ERROR", "\nRTN ERROR"}) unit.SetAnswer(line, a.body);
    EXPECT_EQ(rtn().SendStatusCommand("RTN ERROR\r\n", &stop), a.value) << ::testing::PrintToString(a.body);
  }
}

// Each control character in each text of the series in turn: nothing of it reaches the unit.
TEST_F(RtnUtility, NoControlCharacterOfAServiceValueReachesTheUnit) {
  using Set = bool (Ctl::*)(const std::u16string&);
  const Set fields[] = {&Ctl::SetHostName, &Ctl::SetLogin, &Ctl::SetPassword, &Ctl::SetMountPoint,
                        &Ctl::SetNmeaMessage};
  const std::vector<char> controls = testsupport::ControlCharacters();
  for (size_t i = 0; i < controls.size(); ++i) {
    Configure(1);
    ASSERT_TRUE((rtn().*fields[i % 5])(std::u16string(u"a") + char16_t(controls[i]) + u"INJ"));
    unit.ClearRecord();
    Run(true);
    // From the first command line on (the switch to command mode goes ahead of it).
    const std::string sent = unit.Received();
    EXPECT_EQ(sent.find("INJ"), std::string::npos) << int(controls[i]);
    EXPECT_TRUE(testsupport::OnlyLineFraming(sent.substr(sent.find("RTN")))) << int(controls[i]);
    EXPECT_FALSE(service.Connected());
  }
}

TEST_F(RtnUtility, ValuesThatWouldBreakTheCommandLineAreRefused) {
  Configure(1);
  ASSERT_TRUE(rtn().SetLogin(u"user\r\nRTN CONNECT 1"));
  EXPECT_EQ(rtn().CheckServiceValues(), "Not valid Login.\r\n");
  EXPECT_EQ(Run(true).messages, std::vector<std::string>{"Incorrect command sent to unit"});
  for (const std::string& line : Series()) EXPECT_NE(line, "RTN CONNECT 1");
  ASSERT_TRUE(rtn().SetLogin(u"user"));
  EXPECT_EQ(rtn().CheckServiceValues(), "");
}

}  // namespace
