// The stand-alone simulated unit (scripts/sim) as built, run once for each unit it can be: the
// program connects to the port it prints, identifies the unit, and the page that unit is for runs
// one flow to its result.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "link/Utf.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "link/VkcTCPClient.h"
#include "pages/VkcPPBluetoothModel.h"
#include "pages/VkcPPDownloadImageModel.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimXmodPeer.h"
#include "support/FakePageHost.h"
#include "support/PageWidgets.h"
#include "unit/VkcISUtilityController.h"
#include "utilities/VkcPPLBState.h"
#include "utilities/VkcPPLBStateModel.h"
#include "utilities/VkcPPVRSUtilityModel.h"

namespace {

// The simulator program, running, and the "label: text" lines it printed before it was ready.
class SimTool {
 public:
  explicit SimTool(const std::vector<std::string>& options) {
    std::vector<std::string> argv{MODULINK_SIM_UNIT};
    argv.insert(argv.end(), options.begin(), options.end());
    if (!process_.Start(argv, "")) return;
    std::string out;
    const uint64_t end = platform::NowMs() + 60000;
    while (out.find("Ctrl+C") == std::string::npos && platform::NowMs() < end) {
      char buf[256];
      const ssize_t n = ::read(process_.Fd(), buf, sizeof buf);
      if (n == 0) break;
      if (n > 0) out.append(buf, static_cast<size_t>(n));
      else platform::SleepMs(10);
    }
    for (size_t at = 0, eol; (eol = out.find('\n', at)) != std::string::npos; at = eol + 1) {
      const std::string line = out.substr(at, eol - at);
      const size_t colon = line.find(": ");
      if (colon != std::string::npos) printed_[line.substr(0, colon)] = line.substr(colon + 2);
    }
  }
  ~SimTool() {
    if (process_.Running()) Stop();  // a failed test too: the program removes its firmware image
  }
  // Interrupted as by Ctrl+C: its exit status.
  int Stop() {
    process_.Signal(SIGINT);
    return process_.Wait(20000);
  }
  std::string Printed(const std::string& label) const {
    auto it = printed_.find(label);
    return it == printed_.end() ? std::string() : it->second;
  }

 private:
  sim::SimXmodPeer process_;
  std::map<std::string, std::string> printed_;
};

// The program's side: a page host with its ports, the window the engines post to.
struct Program {
  explicit Program(SimTool& simulator) : tool(simulator) {}
  ~Program() {
    host.App().SetPorts(nullptr, nullptr);
    tcp.SetOwnerWindow(platform::kNoWindow);
    serial.Close();
    tcp.Close();
  }
  SimTool& tool;
  VkcSerialPort serial;
  VkcTCPClient tcp;
  testsupport::FakePageHost host;  // after the ports: the unit's workers may use them while it goes
  platform::RecordingWindow window;
};

// Hands every message msg posted to the window on to deliver, until one whose first parameter is
// last has come.
bool Deliver(platform::RecordingWindow& window, uint32_t msg, intptr_t last,
             const std::function<void(intptr_t, intptr_t)>& deliver) {
  for (int i = 0; i < 2400; ++i) {
    window.WaitForMessage(msg, 50);
    const std::vector<platform::PostedMessage> posted = window.Messages(msg);
    window.Clear();
    bool seen = false;
    for (const auto& m : posted) {
      deliver(m.wParam, m.lParam);
      seen = seen || m.wParam == last;
    }
    if (seen) return true;
  }
  return false;
}

void DownloadsThePrintedFirmwareImage(Program& p) {
  using M = VkcPPDownloadImageModel;
  M page(p.host.App());
  page.SetHost(&p.host);
  page.SetWindow(p.window.Handle());
  page.Refresh();
  const std::string image = p.tool.Printed("Firmware image");
  ASSERT_FALSE(image.empty());
  page.Controls().SetText(M::kFileName, Utf8ToUtf16(image));
  page.Handle(M::kFileName, ControlEvent::TextEdited);
  page.Handle(M::kDownload, ControlEvent::Clicked);
  ASSERT_TRUE(page.IsRunning()) << p.host.LastMessage();
  ASSERT_TRUE(Deliver(p.window, kMsgProgress, kProgressDownloadEnd,
                      [&](intptr_t w, intptr_t l) { page.OnProgressMessage(w, l); }));
  EXPECT_EQ(p.host.LastMessage(), "Image successfully upgraded");
  EXPECT_EQ(p.host.System().GetProductId(), 4);  // found again after its reboot
}

void LbandStatusShowsThePoll(Program& p) {
  using M = VkcPPLBStateModel;
  VkcPPLBState page;
  page.SetPageHost(&p.host);
  page.RefreshPage();
  auto text = [&page](int id) { return testsupport::Control<QLineEdit>(&page, id)->text(); };
  auto* button = testsupport::Control<QPushButton>(&page, M::kStartStop);
  ASSERT_TRUE(button->isEnabled());
  button->click();
  EXPECT_TRUE(QTest::qWaitFor([&] { return text(M::kRssi) == QStringLiteral("-120 dBm"); }, 20000));
  EXPECT_EQ(text(M::kServiceId), QStringLiteral("OMNI"));
  button->click();
  EXPECT_TRUE(QTest::qWaitFor([&] { return button->text() == QStringLiteral("Start"); }, 20000));
  EXPECT_FALSE(p.host.IsProcessRunning());
  EXPECT_TRUE(p.host.messages.empty()) << p.host.LastMessage();
}

void RtnUtilityConnectsAndDisconnects(Program& p) {
  using M = VkcPPVRSUtilityModel;
  using Ctl = VkcISUtilityController;
  M page;
  page.SetHost(&p.host);
  page.SetWindow(p.window.Handle());
  page.Refresh();
  page.Controls().Select(M::kService, 1);  // NTRIP client
  page.Handle(M::kService, ControlEvent::SelectionChanged);
  page.Controls().SetText(M::kHost, u"caster.example");
  page.Controls().SetText(M::kPort, u"2101");
  page.Controls().SetText(M::kLogin, u"user");
  page.Controls().SetText(M::kPassword, u"secret");
  page.Controls().SetText(M::kMountPoint, u"MP1");
  auto deliver = [&page](intptr_t w, intptr_t l) { page.OnUtilityMessage(w, l); };
  page.Handle(M::kConnect, ControlEvent::Clicked);
  ASSERT_TRUE(Deliver(p.window, kMsgRtnUtility, Ctl::kNoticeStatus, deliver)) << p.host.LastMessage();
  EXPECT_EQ(page.Controls().Text(M::kState), u"CONNECTED");
  EXPECT_EQ(page.Controls().Text(M::kRssi), u"-71");
  page.Handle(M::kConnect, ControlEvent::Clicked);
  ASSERT_TRUE(Deliver(p.window, kMsgRtnUtility, Ctl::kNoticeStopped, deliver));
  EXPECT_EQ(page.Controls().Text(M::kConnect), u"Connect");
  EXPECT_FALSE(p.host.IsProcessRunning());
  EXPECT_TRUE(p.host.messages.empty()) << p.host.LastMessage();
}

void BluetoothShowsTheMcuSettings(Program& p) {
  using M = VkcPPBluetoothModel;
  platform::Event stop(platform::Event::ResetMode::Manual);
  ASSERT_EQ(p.host.System().Process(VkcSystem::kOpReadMcu, 0, platform::kNoWindow, stop), 0u);
  M page;
  page.SetHost(&p.host);
  page.Refresh();
  EXPECT_TRUE(page.Controls().Get(M::kName).enabled);
  EXPECT_EQ(page.Controls().Text(M::kName), u"Unit7");
  EXPECT_EQ(page.Controls().Text(M::kPin), u"1234");
}

struct Case {
  const char* name;
  std::vector<std::string> options;
  bool overTcp;  // through the printed gateway rather than the serial port
  int productId;
  void (*flow)(Program&);
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class SimToolUnit : public ::testing::TestWithParam<Case> {};

TEST_P(SimToolUnit, ServesItsPageFromConnectToResult) {
  const Case& c = GetParam();
  SimTool tool(c.options);
  const std::string serial = tool.Printed("Serial port");
  ASSERT_EQ(serial.rfind("/dev/pts/", 0), 0u) << serial;
  {
    Program p(tool);
    p.host.App().SetPorts(&p.serial, &p.tcp);
    if (c.overTcp) {
      const std::string gateway = tool.Printed("TCP gateway");
      const int port = std::atoi(gateway.c_str() + gateway.find("port ") + 5);
      ASSERT_GT(port, 0) << gateway;
      p.host.App().SetConnectionType(ModulinkApp::kConnectionTcp);
      p.tcp.SetOwnerWindow(p.window.Handle());
      p.tcp.SetTcpSettings(TcpConnectSettings("127.0.0.1", static_cast<uint16_t>(port), "a", "pw"));
      ASSERT_TRUE(testsupport::WaitUntil([&] { return p.tcp.IsOpen() && p.tcp.IsLoggedIn(); }, 20000));
    } else {
      ASSERT_TRUE(p.serial.Open(Utf8ToUtf16(serial), 115200, 8, 0, 0));
    }
    platform::Event stop(platform::Event::ResetMode::Manual);
    ASSERT_EQ(p.host.System().Process(VkcSystem::kOpIdentify, 0, platform::kNoWindow, stop), 0u);
    ASSERT_EQ(p.host.System().GetProductId(), c.productId);
    c.flow(p);
  }
  EXPECT_EQ(tool.Stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Options, SimToolUnit,
    ::testing::Values(Case{"Transceiver", {}, false, 4, DownloadsThePrintedFirmwareImage},
                      Case{"Lband", {"--lband"}, false, 36, LbandStatusShowsThePoll},
                      Case{"Gsm", {"--tcp", "--gsm"}, true, 49, RtnUtilityConnectsAndDisconnects},
                      Case{"Mcu", {"--mcu", "--tcp"}, false, 4, BluetoothShowsTheMcuSettings}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
