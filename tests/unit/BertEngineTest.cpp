// The BERT engine's worker: a transmitter and a receiver looped through an impairing relay over
// pseudo-terminals, the 7-second steps and the start and restore dialogue against the simulated
// unit, and the line events a pseudo-terminal cannot make on a port without a device.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devices/VkcDeviceManager.h"
#include "link/VkcConfiguration.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimBert.h"
#include "sim/SimBertPattern.h"
#include "sim/SimBertRelay.h"
#include "sim/SimIdent.h"
#include "sim/SimLinePort.h"
#include "sim/SimTextListener.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "support/TestSupport.h"
#include "unit/BertRadioSetup.h"
#include "unit/VkcBERT.h"
#include "unit/VkcSystem.h"
#include "UnitTestText.h"

namespace {

using platform::PostedMessage;
using sim::BertImpairment;
using testsupport::WaitUntil;

size_t CountNotices(const platform::RecordingWindow& w, intptr_t notice) {
  size_t n = 0;
  for (const PostedMessage& m : w.Messages(kMsgBert)) n += m.wParam == notice;
  return n;
}

BertImpairment Gap(uint64_t at, uint32_t count) {
  BertImpairment i;
  i.kind = BertImpairment::Kind::Delete;
  i.offset = at;
  i.count = count;
  return i;
}

BertImpairment Noise(uint64_t at, std::string bytes) {
  BertImpairment i;
  i.kind = BertImpairment::Kind::Insert;
  i.offset = at;
  i.bytes = std::move(bytes);
  return i;
}

// The 8 received bytes after an impairment all differ from what the checker expects there, so
// no chance match closes the burst early; the counting rules below hold only then.
bool CoincidenceFree(const std::string& clean, const BertImpairment& i) {
  std::string received =
      i.kind == BertImpairment::Kind::Delete ? clean.substr(i.offset + i.count, 8) : (i.bytes + clean.substr(i.offset)).substr(0, 8);
  for (size_t j = 0; j < 8; ++j)
    if (received[j] == clean[i.offset + j]) return false;
  // Where no whole jump explains the impairment, no word of the burst may sit within the
  // checker's reach of 1000 jumps either, or it re-aligns by chance.
  if (i.kind == BertImpairment::Kind::Delete && i.count % 8 == 0) return true;
  for (size_t j = 0; j + 1 < 8; ++j)
    for (size_t k = 0; k < 1000; ++k) {
      size_t at = i.offset + j + 8 * k;
      if (clean[at] == received[j] && clean[at + 1] == received[j + 1]) return false;
    }
  return true;
}

TEST(BertLoop, CountsThroughTheRelayFollowTheLedger) {
  const uint64_t kStream = 40000;
  std::vector<BertImpairment> plan = sim::SimBertRelay::SeededFlips(2026, 12000, 40);
  // Gaps and noise, far apart. A gap of 8k bytes re-aligns: k lost, no bit errors. Any other gap
  // and any inserted noise cannot be re-aligned: after 8 wrong bytes, 6 are skipped (lost), sync
  // is lost and found again 10 bytes later; the 8 bytes' bits are not counted.
  plan.push_back(Gap(14001, 8));      // lost 1
  plan.push_back(Gap(17003, 800));    // lost 100
  plan.push_back(Gap(21005, 58));     // lost 6
  plan.push_back(Noise(25007, "\x01\x02\x03\x04\x05"));  // lost 6
  plan.push_back(Gap(29009, 13));     // lost 6
  const uint64_t kLost = 1 + 100 + 6 + 6 + 6;
  sim::SimBertPattern reference;
  const std::string clean = reference.Next(kStream + 1000);
  for (const BertImpairment& i : plan)
    if (i.kind != BertImpairment::Kind::Flip) {
      ASSERT_TRUE(CoincidenceFree(clean, i)) << i.offset;
    }

  sim::SimBertRelay relay;
  ASSERT_TRUE(relay.IsOk());
  VkcSerialPort txPort, rxPort;
  ASSERT_TRUE(txPort.Open(relay.InPath16(), 115200, 8, 0, 0));
  ASSERT_TRUE(rxPort.Open(relay.OutPath16(), 115200, 8, 0, 0));
  VkcSystem txUnit, rxUnit;
  txUnit.Attach(nullptr, nullptr, [&] { return &txPort; });
  rxUnit.Attach(nullptr, nullptr, [&] { return &rxPort; });
  VkcBERT transmitter(txUnit), receiver(rxUnit);
  platform::RecordingWindow txWindow, rxWindow;
  ASSERT_TRUE(relay.Start(11520, plan, kStream));
  ASSERT_TRUE(receiver.Prepare(rxWindow.Handle(), 0));
  ASSERT_TRUE(receiver.Start(false));
  ASSERT_TRUE(transmitter.Prepare(txWindow.Handle(), 0));
  ASSERT_TRUE(transmitter.Start(true));

  EXPECT_TRUE(WaitUntil([&] { return relay.Ledger().read >= kStream; }, 30000));
  sim::BertLedger ledger = relay.Ledger();
  EXPECT_TRUE(WaitUntil([&] { return receiver.GetStatistics().bytesReceived >= ledger.forwarded; }, 10000));
  transmitter.Stop();
  receiver.Stop();
  EXPECT_TRUE(txWindow.WaitForMessage(kMsgBert, VkcBERT::kEnded, 5000));
  EXPECT_TRUE(rxWindow.WaitForMessage(kMsgBert, VkcBERT::kEnded, 5000));
  relay.Stop();

  EXPECT_EQ(ledger.applied.size(), plan.size());
  EXPECT_EQ(ledger.forwarded, kStream - 8 - 800 - 58 - 13 + 5);
  BertStatistics rx = receiver.GetStatistics();
  EXPECT_EQ(rx.bytesReceived, ledger.forwarded);
  EXPECT_EQ(rx.bitsReceived, 8 * ledger.forwarded);
  EXPECT_EQ(rx.bitErrors, ledger.flippedBits);
  EXPECT_EQ(rx.lostCount, kLost);
  BertStatistics tx = transmitter.GetStatistics();
  EXPECT_GE(tx.bitsSent, 8 * kStream);
  EXPECT_EQ(tx.framesSent, tx.bitsSent / 16);
  // One counters notice per pass; each side's end once.
  EXPECT_EQ(CountNotices(txWindow, VkcBERT::kCounters), tx.bitsSent / (8 * 58));
  EXPECT_EQ(CountNotices(txWindow, VkcBERT::kEnded), 1u);
  EXPECT_EQ(CountNotices(rxWindow, VkcBERT::kEnded), 1u);
}

// A port whose writes are held by flow control until the writer's cancel event is set.
class HeldPort : public sim::SimLinePort {
 public:
  int Write(const void* data, int length, VkcComPortInterface* skip, int timeoutMs, platform::Event* cancel) override {
    if (!held) return SimLinePort::Write(data, length, skip, timeoutMs, cancel);
    entered = true;
    if (cancel == nullptr || cancel->Wait(10000) != 0) return 0;
    return -1;
  }
  std::atomic<bool> held{false};
  std::atomic<bool> entered{false};
};

// The fake port, for what a pseudo-terminal cannot do: hold a write by flow control, drop CTS.
class BertWorker : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.02);  // a step every 140 ms
    system.Attach(nullptr, nullptr, [this] { return &port; });
  }
  void TearDown() override { platform::SetTimeScale(1.0); }

  HeldPort port;
  VkcSystem system;
  platform::RecordingWindow window;
};

TEST_F(BertWorker, StopEndsAWriteHeldByFlowControl) {
  VkcBERT engine(system);
  port.held = true;
  ASSERT_TRUE(engine.Prepare(window.Handle(), 0));
  ASSERT_TRUE(engine.Start(true));
  ASSERT_TRUE(WaitUntil([&] { return port.entered.load(); }, 5000));
  EXPECT_TRUE(engine.Stop());
  EXPECT_TRUE(window.WaitForMessage(kMsgBert, VkcBERT::kEnded, 2000));
  EXPECT_EQ(window.Messages(kMsgBert).size(), 1u);
  EXPECT_EQ(engine.GetStatistics().bitsSent, 0u);
  EXPECT_FALSE(engine.Stop());
}

// A line between two ports through the relay: what the transmitting port writes, the receiving
// port hears (also kept by a listener of its own).
class BertLine : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.02);  // a step every 140 ms
    ASSERT_TRUE(relay.IsOk());
    ASSERT_TRUE(txPort.Open(relay.InPath16(), 115200, 8, 0, 0));
    ASSERT_TRUE(rxPort.Open(relay.OutPath16(), 115200, 8, 0, 0));
    rxPort.AddListener(&heard, kListenerGroupTerminal);
    ASSERT_TRUE(relay.Start(0, {}, UINT64_MAX));
    txUnit.Attach(nullptr, nullptr, [this] { return &txPort; });
    rxUnit.Attach(nullptr, nullptr, [this] { return &rxPort; });
  }
  void TearDown() override {
    rxPort.RemoveListener(&heard);
    relay.Stop();
    platform::SetTimeScale(1.0);
  }
  std::string Heard() const { return heard.Text(); }

  sim::SimBertRelay relay;
  VkcSerialPort txPort, rxPort;
  sim::TextListener heard;
  VkcSystem txUnit, rxUnit;
  platform::RecordingWindow window;
};

TEST_F(BertLine, TransmitPacesFramesStepsAndEndsAtTheRunningTime) {
  VkcBERT engine(txUnit);
  EXPECT_FALSE(engine.Prepare(platform::kNoWindow, 0));
  ASSERT_TRUE(engine.Prepare(window.Handle(), 40));
  engine.SetFrameSize(475);
  engine.SetRunningTime(1);
  ASSERT_TRUE(engine.Start(true));
  EXPECT_FALSE(engine.Start(true));
  ASSERT_TRUE(window.WaitForMessage(kMsgBert, VkcBERT::kEnded, 10000));
  EXPECT_FALSE(engine.IsRunning());
  BertStatistics s = engine.GetStatistics();
  EXPECT_GE(s.elapsedSeconds, 1u);
  ASSERT_TRUE(WaitUntil([&] { return Heard().size() >= s.bitsSent / 8; }, 5000));
  EXPECT_EQ(s.bitsSent, 8 * Heard().size());
  EXPECT_EQ(s.framesSent, Heard().size() / 475 * 237);
  EXPECT_EQ(Heard(), sim::SimBertPattern().Next(Heard().size()));
  // Every pass posts its counters, a step its values right after them, the end once, last.
  std::vector<PostedMessage> m = window.Messages(kMsgBert);
  ASSERT_FALSE(m.empty());
  EXPECT_EQ(m.back().wParam, VkcBERT::kEnded);
  EXPECT_EQ(CountNotices(window, VkcBERT::kCounters), Heard().size() / 475);
  EXPECT_GE(CountNotices(window, VkcBERT::kStep), 1u);
  for (size_t i = 0; i < m.size(); ++i)
    if (m[i].wParam == VkcBERT::kStep) {
      EXPECT_EQ(m[i - 1].wParam, VkcBERT::kCounters);
    }
  // A second run continues the sequence where the first stopped.
  const size_t first = Heard().size();
  ASSERT_TRUE(engine.Prepare(window.Handle(), 0));
  engine.SetRunningTime(1);
  ASSERT_TRUE(engine.Start(true));
  ASSERT_TRUE(WaitUntil([&] { return CountNotices(window, VkcBERT::kEnded) == 2; }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return Heard().size() * 8 >= s.bitsSent + engine.GetStatistics().bitsSent; }, 5000));
  EXPECT_GT(Heard().size(), first);
  EXPECT_EQ(Heard(), sim::SimBertPattern().Next(Heard().size()));
}

TEST_F(BertLine, ReceiveWithoutDataPostsNothingAndCountsWhatArrives) {
  VkcBERT engine(rxUnit);
  ASSERT_TRUE(engine.Prepare(window.Handle(), 0));
  ASSERT_TRUE(engine.Start(false));
  platform::SleepMs(400);  // steps are due every 140 ms, but the loop turns only on data
  EXPECT_TRUE(window.Messages().empty());
  EXPECT_TRUE(Heard().empty());
  const std::string data = sim::SimBertPattern().Next(100);
  ASSERT_EQ(txPort.Write(data.data(), 100, nullptr, -1, nullptr), 100);
  ASSERT_TRUE(window.WaitForMessage(kMsgBert, VkcBERT::kCounters, 5000));
  ASSERT_TRUE(WaitUntil([&] { return engine.GetStatistics().bytesReceived == 100; }, 5000));
  EXPECT_TRUE(engine.Stop());
  EXPECT_TRUE(window.WaitForMessage(kMsgBert, VkcBERT::kEnded, 5000));
  EXPECT_EQ(engine.GetStatistics().bitErrors, 0u);
  // The listener is gone with the test: later data count nothing.
  ASSERT_EQ(txPort.Write("xyz", 3, nullptr, -1, nullptr), 3);
  ASSERT_TRUE(WaitUntil([&] { return Heard().size() == 103; }, 5000));
  EXPECT_EQ(engine.GetStatistics().bytesReceived, 100u);
}

TEST_F(BertWorker, CtsDroppingOutsideAStepLeavesTheInputCounted) {
  VkcBERT engine(system);
  ASSERT_TRUE(engine.Prepare(window.Handle(), 0));
  ASSERT_TRUE(engine.Start(false));
  port.SetModemStatus(0);
  port.InjectEvent(kEvCts);
  EXPECT_FALSE(engine.IsInputIgnored());
  port.InjectData(sim::SimBertPattern().Next(100));
  ASSERT_TRUE(window.WaitForMessage(kMsgBert, VkcBERT::kCounters, 5000));
  EXPECT_EQ(engine.GetStatistics().bytesReceived, 100u);
  EXPECT_TRUE(engine.Stop());
  EXPECT_TRUE(window.WaitForMessage(kMsgBert, VkcBERT::kEnded, 5000));
}

// A transceiver in data mode on the simulated unit, with the BERT data mode and statistics.
class BertUnit : public ::testing::Test {
 protected:
  void SetUp() override {
    // Steps every 1.4 s; the mode switches keep room for a loaded machine.
    platform::SetTimeScale(0.2);
    ErrorLog().Clear();
    manager.RegisterPrototypes();
    sim::IdentOptions options;
    options.startInDataMode = true;
    ident = std::make_unique<sim::SimIdent>(unit, options);
    bert = std::make_unique<sim::SimBert>(unit, *ident, control);
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    system.Attach(&manager, &settings, [this] { return &port; });
    system.SetCurrentDevice(manager.GetDevice(4));
  }
  void TearDown() override {
    port.Close();
    platform::SetTimeScale(1.0);
  }
  // The command lines, without the mode-switch probes (heard or not, depending on the mode).
  std::vector<std::string> Commands() {
    std::vector<std::string> out;
    for (std::string& c : unittext::Clean(unit.Commands()))
      if (c != "DD" && c != "+++") out.push_back(c);
    return out;
  }
  // Waits for the unit to have heard exactly these lines (the last one may be on its way).
  void ExpectCommands(const std::vector<std::string>& expected) {
    WaitUntil([&] { return Commands().size() >= expected.size(); }, 3000);
    EXPECT_EQ(Commands(), expected);
  }

  VkcDeviceManager manager;
  VkcConfiguration settings;
  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<sim::SimBert> bert;
  VkcSerialPort port;
  VkcSystem system;
  platform::RecordingWindow window;
  platform::Event stop{platform::Event::ResetMode::Manual};
};

TEST_F(BertUnit, TransmitStepsReadTheTemperatureAndThePatternStaysWhole) {
  VkcBERT engine(system);
  ASSERT_TRUE(engine.Prepare(window.Handle(), 0));
  engine.SetRunningTime(4);
  ASSERT_TRUE(engine.Start(true));
  ASSERT_TRUE(window.WaitForMessage(kMsgBert, VkcBERT::kEnded, 30000));
  BertStatistics s = engine.GetStatistics();
  EXPECT_EQ(s.temperature, 31);
  EXPECT_GT(s.rate, 0.0);
  size_t steps = CountNotices(window, VkcBERT::kStep);
  EXPECT_GE(steps, 2u);
  // What reached the unit in data mode is the pattern, without a byte missing or foreign.
  EXPECT_TRUE(WaitUntil([&] { return bert->Checked() + 11 >= s.bitsSent / 8; }, 10000));
  EXPECT_EQ(bert->Mismatches(), 0u);
  EXPECT_EQ(bert->Escapes(), steps);
  std::vector<std::string> c = Commands();
  std::vector<std::string> oneStep = {"STATE TEMP", "DATAMODE"};
  ASSERT_GE(c.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(c.begin(), c.begin() + 2), oneStep);
}

TEST_F(BertUnit, ReceiveStepsReadTheUnitStatistics) {
  VkcBERT engine(system);
  bert->StartSource(11520);
  ASSERT_TRUE(engine.Prepare(window.Handle(), 0));
  ASSERT_TRUE(engine.Start(false));
  ASSERT_TRUE(window.WaitFor([](const std::vector<PostedMessage>& m) {
    size_t steps = 0;
    for (const PostedMessage& p : m) steps += p.wParam == VkcBERT::kStep;
    return steps >= 2;
  }, 20000));
  // Only what came over the air counts: none of the unit's answers to the steps' commands.
  bert->StopSource();
  WaitUntil([&] { return engine.GetStatistics().bytesReceived == bert->SourceBytes(); }, 1000);
  engine.Stop();
  ASSERT_TRUE(window.WaitForMessage(kMsgBert, VkcBERT::kEnded, 10000));
  BertStatistics s = engine.GetStatistics();
  EXPECT_LE(s.bytesReceived, bert->SourceBytes());
  EXPECT_EQ(s.temperature, 31);
  EXPECT_EQ(s.rssi, -87);
  EXPECT_EQ(s.remotePower, 30);
  EXPECT_GT(s.bytesReceived, 1000u);
  // Each step's command-mode stretch is a gap in the air data: resynchronised, with few errors.
  EXPECT_LT(static_cast<double>(s.bitErrors) / static_cast<double>(s.bitsReceived), 0.05);
  std::vector<std::string> c = Commands();
  std::vector<std::string> oneStep = {"STATE TEMP", "STATE RSSI", "TSTUFR REMOTEPWR", "DATAMODE"};
  ASSERT_GE(c.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(c.begin(), c.begin() + 4), oneStep);
}

TEST_F(BertUnit, StartAndRestoreDialogues) {
  BertRadioSetup setup(system);
  // The unit starts in command mode for these.
  ASSERT_TRUE(system.SwitchToCommandMode(true));
  unit.ClearRecord();
  BertTxRequest request;
  request.channel = 5;
  request.power = 27;
  request.protocol = 2;  // as the unit has it: not sent
  request.modulationIndex = 2;
  double mhz = 0;
  EXPECT_EQ(setup.PrepareTransmit(request, mhz, &stop), "");
  EXPECT_DOUBLE_EQ(mhz, 450.125);
  ExpectCommands({"STATE FREQ", "LINK PWRB", "LINK PROT", "LINK MOD", "LINK CHAN", "LINK CHAN 5", "STATE FREQ",
                  "LINK PWRB 27", "LINK MOD 3", "DPORT FLOW 2", "DATAMODE"});
  EXPECT_EQ(port.GetFlowControl(), 2u);
  unit.ClearRecord();
  // The unit's data port keeps hardware flow control; the PC port's is restored.
  setup.RestoreTransmit(&stop);
  ExpectCommands({"LINK PWRB 30", "LINK PROT 2", "LINK MOD 1", "LINK CHAN 3"});
  EXPECT_EQ(port.GetFlowControl(), 0u);

  // A refused setting ends the start with its message; what was set so far stays.
  control.SetFailure("LINK PROT 8", 1);
  request.protocol = 8;
  unit.ClearRecord();
  EXPECT_EQ(setup.PrepareTransmit(request, mhz, &stop), "Unable to set Protocol");
  ExpectCommands({"STATE FREQ", "LINK PWRB", "LINK PROT", "LINK MOD", "LINK CHAN", "LINK CHAN 5", "STATE FREQ",
                  "LINK PWRB 27", "LINK PROT 8"});
  EXPECT_EQ(port.GetFlowControl(), 0u);

  // Receive: the protocol only when it differs, the channel always; both restored.
  unit.ClearRecord();
  EXPECT_EQ(setup.PrepareReceive(4, 3, mhz, &stop), "");
  ASSERT_TRUE(system.SwitchToCommandMode(true));
  setup.RestoreReceive(&stop);
  ExpectCommands({"STATE FREQ", "LINK PROT", "LINK CHAN", "LINK PROT 4", "LINK CHAN 3", "STATE FREQ", "DATAMODE",
                  "LINK PROT 2", "LINK CHAN 3"});
}

}  // namespace
