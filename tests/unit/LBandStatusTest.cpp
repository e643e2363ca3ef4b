// The L-band status poll against the simulated L-band receiver over a pseudo-terminal.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/VkcMessageIds.h"
#include "sim/SimLband.h"
#include "unit/VkcLBandStatusPoller.h"
#include "UnitTestText.h"
#include "UtilityTestUnit.h"

namespace {

using Texts = VkcLBandStatusPoller::Texts;

TEST(LBandStatus, SymbolRateTexts) {
  const std::vector<std::pair<int, const char*>> cases = {
      {0, "Not Recognized"}, {1, "9752.38"},  {2, "4576.19"},        {3, "2438.095"},
      {4, "1219.047"},       {5, "609.524"},  {6, "Not Recognized"}, {65534, "Not Recognized"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(VkcLBandStatusPoller::SymbolRateText(value), text) << value;
}

class LBandPoll : public ::testing::Test {
 protected:
  explicit LBandPoll(double scale = 0.25) : u(36, scale) {}
  void SetUp() override { ASSERT_TRUE(u.opened); }
  // Commands from the first status query on, without the mode switches' line noise.
  std::vector<std::string> PollCommands() {
    std::vector<std::string> all = unittext::Clean(u.unit.Commands());
    auto first = std::find_if(all.begin(), all.end(), [](const std::string& c) {
      return c == "@RX RESBER" || c == "STATE RSSI";
    });
    return std::vector<std::string>(first, all.end());
  }
  unittest::UtilityUnit u;
  sim::SimLband lband{u.unit};
  VkcLBandStatusPoller poller{u.system};
};

TEST_F(LBandPoll, PollsInOrderShowsTextsAndResetsBerFirst) {
  poller.RequestResetBer();
  ASSERT_TRUE(poller.Begin());
  ASSERT_TRUE(poller.Start(u.window.Handle()));
  ASSERT_TRUE(u.window.WaitFor([](const auto& m) {
    return std::count_if(m.begin(), m.end(), [](const auto& x) { return x.msg == kMsgLband && x.wParam == 1; }) >= 2;
  }, 10000));
  poller.Stop();
  ASSERT_TRUE(u.window.WaitForMessage(kMsgLband, 0, 5000));
  poller.Join();
  EXPECT_TRUE(poller.WasAnswered());
  EXPECT_EQ(poller.GetTexts(), (Texts{"-120 dBm", "1545525000 Hz", "4576.19", "Unique word is confirmed", "8",
                                      "1.2E-5", "OMNI"}));
  const std::vector<std::string> poll = {"STATE RSSI", "STATE FREQ", "LINK SIGTYPE", "STATE SYNC",
                                         "STATE BER",  "STATE EBN0", "LINK RSID"};
  std::vector<std::string> commands = PollCommands();
  ASSERT_GE(commands.size(), 1 + 2 * poll.size());
  EXPECT_EQ(commands[0], "@RX RESBER");
  EXPECT_TRUE(std::equal(poll.begin(), poll.end(), commands.begin() + 1));
  // Data mode between polls; the reset is sent once.
  auto dataMode = std::find(commands.begin() + 1 + poll.size(), commands.end(), "DATAMODE");
  EXPECT_NE(dataMode, commands.end());
  EXPECT_EQ(lband.ResetCount(), 1);
  EXPECT_EQ(unittest::Notices(u.window, kMsgLband).back(), 0);
}

TEST_F(LBandPoll, FailedQueryEndsQuietlyAndFrequencyFailureIsNoValue) {
  for (const char* query : {"STATE FREQ", "STATE RSSI", "STATE SYNC"}) {
    SCOPED_TRACE(query);
    lband.SetFailure(query, 1);
    u.unit.ClearRecord();
    u.window.Clear();
    ASSERT_TRUE(poller.Start(u.window.Handle()));
    ASSERT_TRUE(u.window.WaitForMessage(kMsgLband, 0, 5000));
    poller.Join();
    // No "65535 Hz": nothing of the poll is shown, the run ends answered.
    EXPECT_EQ(unittest::Notices(u.window, kMsgLband), std::vector<intptr_t>{0});
    EXPECT_EQ(poller.GetTexts(), Texts{});
    EXPECT_TRUE(poller.WasAnswered());
    EXPECT_EQ(PollCommands().back(), query);
    lband.SetValue(query, query == std::string("STATE SYNC") ? "0" : "5");
  }
}

TEST_F(LBandPoll, FailedTextQueriesShowNotAvailable) {
  lband.SetFailure("STATE EBN0", 2);
  lband.SetFailure("STATE BER", 2);
  lband.SetValue("LINK SIGTYPE", "0");
  lband.SetValue("STATE SYNC", "0");
  ASSERT_TRUE(poller.Start(u.window.Handle()));
  ASSERT_TRUE(u.window.WaitForMessage(kMsgLband, 1, 10000));
  poller.Stop();
  ASSERT_TRUE(u.window.WaitForMessage(kMsgLband, 0, 5000));
  poller.Join();
  const Texts t = poller.GetTexts();
  EXPECT_EQ(t.quality, "N/A");
  EXPECT_EQ(t.symbolRate, "Not Recognized");
  EXPECT_EQ(t.sync, "Unique word was not confirmed");
  EXPECT_EQ(t.rsid, "OMNI");
}

TEST_F(LBandPoll, SilentUnitIsNoAnswer) {
  u.unit.SetSilent(true);
  ASSERT_TRUE(poller.Start(u.window.Handle()));
  ASSERT_TRUE(u.window.WaitForMessage(kMsgLband, 0, 20000));
  poller.Join();
  EXPECT_FALSE(poller.WasAnswered());
  EXPECT_EQ(u.unit.Received().find("STATE"), std::string::npos);
}

class LBandStop : public LBandPoll {
 protected:
  LBandStop() : LBandPoll(1.0) {}
};

TEST_F(LBandStop, StopDuringSlowReplyEndsWithinASecond) {
  lband.SetDelay("STATE BER", 3000);
  ASSERT_TRUE(poller.Start(u.window.Handle()));
  ASSERT_TRUE(u.unit.WaitForReceived("STATE BER\r", 10000));
  poller.Stop();
  EXPECT_TRUE(u.window.WaitForMessage(kMsgLband, 0, 1000));
  poller.Join();
  // The cut poll shows nothing.
  EXPECT_EQ(unittest::Notices(u.window, kMsgLband), std::vector<intptr_t>{0});
  EXPECT_TRUE(poller.WasAnswered());
}

}  // namespace
