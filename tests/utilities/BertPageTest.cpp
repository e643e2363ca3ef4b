// The BERT Transmit and Receive pages on their models, end to end against the simulated unit over
// a pseudo-terminal: the lists, the refusals, a whole run with its statistics file and the
// restore, and a start the unit refuses.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "devices/VkcDeviceLband.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimBert.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "support/FakePageHost.h"
#include "unit/VkcBERT.h"
#include "unit/VkcSystem.h"
#include "utilities/VkcPPBERTRxModel.h"
#include "utilities/VkcPPBERTTxModel.h"

namespace {

using testsupport::FakePageHost;

// Hands the engine's posted messages to the model as the page's window does, up to the end.
template <class Model>
bool PumpUntilEnd(Model& model, const platform::RecordingWindow& window, uint32_t ms) {
  size_t done = 0;
  const uint64_t until = platform::NowMs() + ms;
  while (platform::NowMs() < until) {
    std::vector<platform::PostedMessage> m = window.Messages(kMsgBert);
    for (; done < m.size(); ++done) {
      model.OnBertMessage(m[done].wParam);
      if (m[done].wParam == VkcBERT::kEnded) return true;
    }
    platform::SleepMs(5);
  }
  return false;
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<uint8_t> bytes;
  platform::ReadWholeFile(path, bytes, 1 << 20);
  std::vector<std::string> out;
  std::string text(bytes.begin(), bytes.end());
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

class BertPage : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.2);  // refusals and stops answer at once; the runs that step keep real time
    sim::IdentOptions options;
    ident = std::make_unique<sim::SimIdent>(unit, options);
    bert = std::make_unique<sim::SimBert>(unit, *ident, control);
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    host.App().SetPorts(&port, nullptr);
    host.System().SetCurrentDevice(host.DeviceManager().GetDevice(4));
  }
  void TearDown() override {
    port.Close();
    host.App().SetPorts(nullptr, nullptr);
    platform::SetTimeScale(1.0);
  }
  // A page model on this host, refreshed, reporting to the test's window.
  template <class Model>
  std::unique_ptr<Model> Page() {
    auto model = std::make_unique<Model>(host.App());
    model->SetHost(&host);
    model->SetWindow(window.Handle());
    model->Refresh();
    return model;
  }
  // The command lines the unit heard, without the mode-switch probes.
  std::vector<std::string> Commands() {
    std::vector<std::string> out;
    for (const std::string& line : unit.Commands()) {
      size_t at = line.find_first_not_of(std::string("\x18\n\0", 3));
      if (at == std::string::npos) continue;
      std::string c = line.substr(at);
      if (c != "DD" && c != "+++") out.push_back(c);
    }
    return out;
  }

  FakePageHost host;
  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<sim::SimBert> bert;
  VkcSerialPort port;
  platform::RecordingWindow window;
  testsupport::TempDir dir;
};

TEST_F(BertPage, TransmitRunsWritesItsRowsAndRestoresTheRadio) {
  using M = VkcPPBERTTxModel;
  auto page = Page<M>();
  M& model = *page;
  PageControls& c = model.Controls();
  EXPECT_TRUE(c.Get(bertpage::kStart).enabled);
  EXPECT_GT(c.Get(bertpage::kProtocol).ItemCount(), 0);
  // Receive-only protocols are left out of the transmit list.
  for (intptr_t p : c.Get(bertpage::kProtocol).itemData)
    for (intptr_t out : {1, 7, 9, 10, 11, 12, 14}) EXPECT_NE(p, out);
  // Zero duty refuses before anything is sent.
  c.SetText(M::kDuty, u"0");
  model.OnStart();
  EXPECT_EQ(host.LastMessage(), "Unable to Run BERT transmission with 0% Duty Cycle");
  EXPECT_TRUE(Commands().empty());
  // Another operation holds the lock.
  int other = 0;
  ASSERT_TRUE(host.LockProcess(&other));
  c.SetText(M::kDuty, u"100");
  model.OnStart();
  EXPECT_EQ(host.LastMessage(), "Unable to run BERT Tx process.\nAnother process is running");
  host.UnlockProcess(&other);

  // The unit's real time-outs: a mode switch answered late on a loaded machine skips a step, and
  // the pattern then goes to the command line, not whole to the far end. One step at 7 s.
  platform::SetTimeScale(1.0);
  const std::string path = dir.File("tx.txt");
  c.SetCheck(bertpage::kStatistics, true);
  c.SetText(bertpage::kStatFile, bertpage::Wide(path));
  c.SetText(bertpage::kRunningTime, u"8");
  model.OnStart();
  ASSERT_TRUE(model.IsRunning()) << host.LastMessage();
  EXPECT_EQ(c.Text(bertpage::kStart), u"Stop");
  EXPECT_FALSE(c.Get(M::kPowerSlider).enabled);
  EXPECT_TRUE(host.IsProcessRunning());
  ASSERT_TRUE(PumpUntilEnd(model, window, 30000));
  EXPECT_EQ(host.LastMessage(), "Transmission Completed");
  EXPECT_FALSE(host.IsProcessRunning());
  EXPECT_EQ(c.Text(bertpage::kStart), u"Start");
  std::vector<std::string> cmds = Commands();
  ASSERT_GE(cmds.size(), 4u);
  // The end restores what the start saved; the unit stays in command mode, its data port keeps
  // hardware flow control (never read, never set back), the port's flow control is restored.
  EXPECT_EQ(std::vector<std::string>(cmds.end() - 4, cmds.end()),
            (std::vector<std::string>{"LINK PWRB 30", "LINK PROT 2", "LINK MOD 1", "LINK CHAN 3"}));
  for (const std::string& cmd : cmds) EXPECT_TRUE(cmd.rfind("DPORT FLOW", 0) != 0 || cmd == "DPORT FLOW 2") << cmd;
  EXPECT_EQ(port.GetFlowControl(), 0u);
  // The file: the header, then one row per step; the rows' bits are 16 per whole word of each
  // (odd-sized) frame, within what was sent, and the pattern reached the unit whole.
  std::vector<std::string> lines = Lines(path);
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[0], "BER Test for 00-00-00-00-00-00");
  EXPECT_EQ(lines[5], "Sec.\tBits\tFrames\tRate\tTemperature");
  uint64_t bits = 0, frames = 0;
  for (size_t i = 6; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    std::istringstream row(lines[i]);
    uint64_t sec = 0, b = 0, f = 0;
    int rate = 0, temperature = 0;
    row >> sec >> b >> f >> rate >> temperature;
    bits += b, frames += f;
    EXPECT_EQ(temperature, 31);
  }
  EXPECT_GT(bits, 0u);
  EXPECT_LE(frames * 16, bits);
  EXPECT_GE(frames * 16, bits - bits / 100);
  EXPECT_LE(bits, model.Engine()->GetStatistics().bitsSent);
  EXPECT_EQ(bert->Mismatches(), 0u);
}

// A start the unit refuses ends there: the lock is free and the radio keeps what was set.
TEST_F(BertPage, ATransmitStartTheUnitRefusesKeepsWhatWasSet) {
  using M = VkcPPBERTTxModel;
  auto page = Page<M>();
  M& model = *page;
  PageControls& c = model.Controls();
  int at = c.Get(bertpage::kProtocol).FindData(8);
  ASSERT_GE(at, 0);
  c.Select(bertpage::kProtocol, at);
  control.SetFailure("LINK PROT 8", 1);
  c.SetText(M::kDuty, u"50");
  model.OnStart();
  EXPECT_EQ(host.LastMessage(), "Unable to set Protocol");
  EXPECT_FALSE(model.IsRunning());
  EXPECT_FALSE(host.IsProcessRunning());
  ASSERT_FALSE(Commands().empty());
  EXPECT_EQ(Commands().back(), "LINK PROT 8");
  EXPECT_TRUE(window.Messages().empty());
}

// A statistics file that cannot be opened ends the receive start with the unit left tuned, the
// lock free and no engine running.
TEST_F(BertPage, AReceiveStartWhoseFileFailsLeavesTheUnitTuned) {
  auto page = Page<VkcPPBERTRxModel>();
  VkcPPBERTRxModel& model = *page;
  PageControls& c = model.Controls();
  c.SetCheck(bertpage::kStatistics, true);
  c.SetText(bertpage::kStatFile, bertpage::Wide(dir.File("missing/rx.txt")));
  model.OnStart();
  EXPECT_NE(host.LastMessage().find("missing/rx.txt"), std::string::npos) << host.LastMessage();
  EXPECT_FALSE(model.IsRunning());
  EXPECT_FALSE(host.IsProcessRunning());
  ASSERT_FALSE(Commands().empty());
  EXPECT_EQ(Commands().back(), "DATAMODE");
}

TEST_F(BertPage, ReceiveRunsToItsRunningTimeAndRestoresProtocolAndChannel) {
  auto page = Page<VkcPPBERTRxModel>();
  VkcPPBERTRxModel& model = *page;
  PageControls& c = model.Controls();
  EXPECT_TRUE(c.Get(bertpage::kStart).enabled);
  for (intptr_t p : c.Get(bertpage::kProtocol).itemData)
    for (intptr_t out : {2, 8, 9, 10, 11, 13, 15}) EXPECT_NE(p, out);
  EXPECT_EQ(c.Text(VkcPPBERTRxModel::kBer), u"N/A");
  // The unit's real time-outs, so a loaded machine skips no step. One step at 7 s.
  platform::SetTimeScale(1.0);
  const std::string path = dir.File("rx.txt");
  c.SetCheck(bertpage::kStatistics, true);
  c.SetText(bertpage::kStatFile, bertpage::Wide(path));
  c.SetText(bertpage::kRunningTime, u"8");
  bert->StartSource(11520);
  model.OnStart();
  ASSERT_TRUE(model.IsRunning()) << host.LastMessage();
  EXPECT_FALSE(c.Get(bertpage::kChannel).enabled);
  ASSERT_TRUE(PumpUntilEnd(model, window, 30000));
  EXPECT_FALSE(host.IsProcessRunning());
  EXPECT_EQ(c.Text(VkcPPBERTRxModel::kTemperature), u"31 C");
  EXPECT_EQ(c.Text(VkcPPBERTRxModel::kRsl), u"-87 dbm");
  EXPECT_EQ(c.Text(VkcPPBERTRxModel::kRemotePower), u"30 dbm");
  EXPECT_NE(c.Text(VkcPPBERTRxModel::kBitsReceived), u"0");
  std::vector<std::string> cmds = Commands();
  ASSERT_GE(cmds.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(cmds.end() - 2, cmds.end()),
            (std::vector<std::string>{"LINK PROT 2", "LINK CHAN 3"}));
  std::vector<std::string> lines = Lines(path);
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "Sec.\tBits\tFrames\tRate\tTemperature\tRSL\tBER");
  EXPECT_NE(lines[6].find("\t31\t-87\t"), std::string::npos) << lines[6];
}

}  // namespace

namespace {

TEST_F(BertPage, ReceiveWithoutSignalShowsNothingAndStopsOnTheButton) {
  auto page = Page<VkcPPBERTRxModel>();
  VkcPPBERTRxModel& model = *page;
  PageControls& c = model.Controls();
  // A unit slow to answer: its data-mode answer, late, is still not received data. The time-outs
  // are the program's own, so the wait for it has room on a loaded machine.
  platform::SetTimeScale(1.0);
  unit.SetReplyDelay(100);
  const std::string path = dir.File("quiet.txt");
  c.SetCheck(bertpage::kStatistics, true);
  c.SetText(bertpage::kStatFile, bertpage::Wide(path));
  model.OnStart();
  ASSERT_TRUE(model.IsRunning()) << host.LastMessage();
  platform::SleepMs(1600);  // a step's time: the engine posts and asks nothing without data
  EXPECT_TRUE(window.Messages().empty());
  model.OnStart();  // the button reads "Stop"
  ASSERT_TRUE(PumpUntilEnd(model, window, 10000));
  EXPECT_EQ(window.Messages().size(), 1u);
  EXPECT_FALSE(host.IsProcessRunning());
  EXPECT_EQ(c.Text(VkcPPBERTRxModel::kBitsReceived), u"0");
  EXPECT_EQ(Lines(path).size(), 6u);  // the header and its empty line only
}

}  // namespace

namespace {

TEST_F(BertPage, TransmitPowerKeepsToItsLimitsInEitherUnit) {
  using M = VkcPPBERTTxModel;
  auto page = Page<M>();
  M& model = *page;
  PageControls& c = model.Controls();
  const ControlRange dbm = *c.Get(M::kPowerSlider).range;
  EXPECT_LT(dbm.min, dbm.max);
  EXPECT_EQ(c.Text(M::kPowerMin), bertpage::Wide(std::to_string(dbm.min)));
  // Leaving the edit with a value out of range says so and takes the slider's position back.
  c.SetText(M::kPower, bertpage::Wide(std::to_string(dbm.max + 1)));
  model.Handle(M::kPower, ControlEvent::TextEdited);
  model.Handle(M::kPower, ControlEvent::FocusLost);
  EXPECT_EQ(host.LastMessage(), "Power value is out of range.\nPlease select value between " +
                                    std::to_string(dbm.min) + " and " + std::to_string(dbm.max));
  EXPECT_EQ(c.Text(M::kPower), bertpage::Wide(std::to_string(c.Value(M::kPowerSlider))));
  // In mW the limits and the value are converted; back in dBm they are as before.
  c.Select(M::kPowerUnit, 1);
  model.Handle(M::kPowerUnit, ControlEvent::SelectionChanged);
  const ControlRange mw = *c.Get(M::kPowerSlider).range;
  EXPECT_GT(mw.max, dbm.max);
  c.Select(M::kPowerUnit, 0);
  model.Handle(M::kPowerUnit, ControlEvent::SelectionChanged);
  EXPECT_EQ(*c.Get(M::kPowerSlider).range, dbm);
}

}  // namespace

namespace {

TEST(BertRunningTime, AnythingButAPositiveNumberRunsUntilStop) {
  const std::pair<const char16_t*, int32_t> cases[] = {
      {u"Infinite", -1}, {u"0", -1}, {u"abc", -1}, {u"-5", -1}, {u"", -1}, {u"3", 3}, {u"7200", 7200}, {u" 60", 60}, {u"+90", 90}, {u"\n120", 120}, {u"30 s", 30}};
  for (auto [text, seconds] : cases) EXPECT_EQ(bertpage::ParseRunningTime(text), seconds) << bertpage::Utf8(text);
}

// The duty and interval controls follow the rate mode whenever a device is current, also one
// without a transmitter (its Start and radios stay off).
TEST(BertTransmitRefresh, RateControlsFollowTheModeWithAnyDevice) {
  using M = VkcPPBERTTxModel;
  const struct {
    int device;  // 0: none
    int mode;
    bool duty, interval, start;
  } rows[] = {{0, 0, false, false, false},
              {0, 1, false, false, false},
              {VkcDeviceLband::kKey, 0, true, false, false},
              {VkcDeviceLband::kKey, 1, false, true, false}};
  for (const auto& r : rows) {
    FakePageHost host;
    host.App().Setting(M::kSection, "Transmission Rate").SetInt(static_cast<uint32_t>(r.mode));
    host.System().SetCurrentDevice(r.device == 0 ? nullptr : host.DeviceManager().GetDevice(r.device));
    M model(host.App());
    model.SetHost(&host);
    model.Refresh();
    const PageControls& c = model.Controls();
    EXPECT_EQ(c.Get(M::kDutySlider).enabled, r.duty) << r.device << "/" << r.mode;
    EXPECT_EQ(c.Get(M::kDuty).enabled, r.duty) << r.device << "/" << r.mode;
    EXPECT_EQ(c.Get(M::kInterval).enabled, r.interval) << r.device << "/" << r.mode;
    EXPECT_EQ(c.Get(bertpage::kStart).enabled, r.start) << r.device << "/" << r.mode;
  }
}

}  // namespace
