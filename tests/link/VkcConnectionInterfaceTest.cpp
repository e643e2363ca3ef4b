// The command channel end to end: serial port over a pseudo-terminal to the simulated unit.
// Line events (CTS, transmit-empty) come from the line-event port, which a pty cannot produce.

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "link/VkcConnectionInterface.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimLinePort.h"
#include "sim/SimUnit.h"
#include "support/TestSupport.h"

namespace {

using Channel = VkcConnectionInterface;

// Everything the port delivers, to tell what had arrived when a call returned.
class Tap : public VkcComPortInterface {
 public:
  explicit Tap(VkcComPort& port) : port_(port) { port_.AddListener(this, 0); }
  ~Tap() override { port_.RemoveListener(this); }
  void OnDataReceived(const uint8_t* d, size_t n, VkcComPort*) override {
    std::lock_guard<std::mutex> g(m_);
    data_.append(reinterpret_cast<const char*>(d), n);
  }
  std::string Data() {
    std::lock_guard<std::mutex> g(m_);
    return data_;
  }

 private:
  VkcComPort& port_;
  std::mutex m_;
  std::string data_;
};

class ChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ErrorLog().Clear();
    ASSERT_TRUE(unit.IsOk());
    port.SetOwnerWindow(window.Handle());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
  }
  void TearDown() override {
    port.Close();
    platform::SetTimeScale(1.0);
  }

  sim::SimUnit unit;
  platform::RecordingWindow window;
  VkcSerialPort port;
  char reply[256] = {};
};

TEST_F(ChannelTest, CommandGetsItsCrAndTheReplyLiesBetweenEchoAndPrompt) {
  unit.SetAnswer("INFO SW", "SW 2.5 Rev C@00\r\n");
  Channel c(&port);
  ASSERT_TRUE(c.SendCommand("INFO SW", reply, sizeof reply, 1500, nullptr, false, Channel::kMatchAny, false,
                            "@00", nullptr));
  EXPECT_STREQ(reply, "SW 2.5 Rev C@00\r\n");
  EXPECT_EQ(unit.Received(), "INFO SW\r");
  // A command with its own CR and LF is sent as given; its echo is cut at the CR.
  unit.SetAnswer("@RX OFF", "@00\r\n");
  ASSERT_TRUE(c.SendCommand("@RX OFF\r\n", reply, sizeof reply, 1500, nullptr, false, 0, false, "@0"));
  EXPECT_STREQ(reply, "@00\r\n");
  EXPECT_EQ(unit.Received(), "INFO SW\r@RX OFF\r\n");
}

TEST_F(ChannelTest, SplitEchoAndNoiseBeforeTheEchoAreRemoved) {
  unit.SetEchoMode(sim::EchoMode::Split, 20);
  unit.SetAnswer("RADIO CHANNEL", "12@00\r\n");
  Channel c(&port);
  ASSERT_TRUE(c.SendCommand("RADIO CHANNEL", reply, sizeof reply, 1500, nullptr, false, 0, false, "@00"));
  EXPECT_STREQ(reply, "12@00\r\n");
  unit.SetEchoMode(sim::EchoMode::None);
  unit.AddCommandHandler("NOISY", [](sim::SimUnit& u, const std::string&) {
    u.Send("#~garbage~#NOISY\r\n");
    u.Answer("7");
  });
  ASSERT_TRUE(c.SendCommand("NOISY", reply, sizeof reply, 1500, nullptr, false, 0, false, "@00"));
  EXPECT_STREQ(reply, "7@00\r\n");
}

TEST_F(ChannelTest, LateReplyLinesAndALatePromptStillBelongToTheReply) {
  // The result code completes the match; the data line and the prompt follow in later chunks.
  unit.AddCommandHandler("INFO", [](sim::SimUnit& u, const std::string&) {
    u.Send("@00\r\n");
    u.Send("MODEL 4\r\n", 60);
    u.Send("SERIAL 99\r\n", 60);
    u.Prompt();
  });
  unit.SetPromptDelay(100);
  Channel c(&port);
  ASSERT_TRUE(c.SendCommand("INFO", reply, sizeof reply, 1500, nullptr, false, 0, false, "@00"));
  EXPECT_STREQ(reply, "@00\r\nMODEL 4\r\nSERIAL 99\r\n");
}

TEST_F(ChannelTest, PromptEndsTheWaitAtOnceAndNothingLateIsLost) {
  // The unit says something a second after its prompt: well inside the reply time-out. Had the
  // prompt wait ignored the prompt, it would only end at the time-out, after that text.
  unit.AddCommandHandler("PING", [](sim::SimUnit& u, const std::string&) {
    u.Answer("pong");
    u.Send("LATE", 1000);
  });
  Tap tap(port);
  Channel c(&port);
  ASSERT_TRUE(c.SendCommand("PING", reply, sizeof reply, 1500, nullptr, false, 0, false, "@00"));
  EXPECT_EQ(tap.Data().find("LATE"), std::string::npos);
  EXPECT_NE(tap.Data().find("CLI>"), std::string::npos);
  EXPECT_STREQ(reply, "pong@00\r\n");
  // A second command right after: one round trip each, replies never mixed.
  unit.SetAnswer("A", "a@00\r\n");
  ASSERT_TRUE(c.SendCommand("A", reply, sizeof reply, 1500, nullptr, false, 0, false, "@00"));
  // The unit answers in turn: its late text comes before the echo and is dropped with it.
  EXPECT_STREQ(reply, "a@00\r\n");
}

TEST_F(ChannelTest, NoEchoChannelDoesNotWaitForAPrompt) {
  unit.SetEchoMode(sim::EchoMode::None);
  unit.SetOmitPrompt(true);
  unit.AddRawTrigger("####", [](sim::SimUnit& u, const std::string&) { u.Send("@00\r\n"); });
  unit.AddRawTrigger("$$$$", [](sim::SimUnit& u, const std::string&) {
    u.Send("@00\r\n");
    u.Send("LATE", 1000);
  });
  Tap tap(port);
  // A raw command on an echoing channel whose echo never comes matches too.
  Channel echoing(&port);
  ASSERT_TRUE(echoing.SendCommand("####", reply, sizeof reply, 1500, nullptr, false, 0, true, "@00"));
  EXPECT_STREQ(reply, "@00\r\n");
  Channel c(&port, true);
  ASSERT_TRUE(c.SendCommand("$$$$", reply, sizeof reply, 1500, nullptr, false, 0, true, "@00"));
  EXPECT_STREQ(reply, "@00\r\n");
  EXPECT_EQ(unit.Received(), "####$$$$");
  EXPECT_EQ(tap.Data().find("LATE"), std::string::npos);
}

TEST_F(ChannelTest, TheTailOfAnEarlierAnswerDoesNotAnswerTheNextCommand) {
  // On a paced line the end of the previous answer ("\r\nCLI>") may still be arriving after the
  // next command has gone out, ahead of that command's echo.
  unit.SetEchoMode(sim::EchoMode::None);
  unit.AddCommandHandler("MPORT RATE", [](sim::SimUnit& u, const std::string&) {
    u.Send("\r\nCLI>");
    u.Send("MPORT RATE\r\n", 30);
    u.Send("9\r\n@00\r\nCLI>");
  });
  Channel query(&port);
  ASSERT_TRUE(query.SendCommand("MPORT RATE\r", reply, sizeof reply, 1500, nullptr, false, 0, false, "\r\n"));
  EXPECT_EQ(std::string(reply).rfind("9\r\n", 0), 0u) << reply;
}

TEST_F(ChannelTest, MatchModes) {
  unit.AddCommandHandler("CODE FIRST", [](sim::SimUnit& u, const std::string&) {
    u.Send("@00\r\n");
    u.Send("LOGGED\r\n", 20);
    u.Prompt();
  });
  unit.AddCommandHandler("LOGIN", [](sim::SimUnit& u, const std::string&) {
    u.Send("LOGGED\r\n");
    u.Send("@00\r\n", 20);
    u.Prompt();
  });
  Channel c(&port);
  platform::SetTimeScale(0.2);
  // In order: "@00" before "LOGGED" does not count.
  EXPECT_FALSE(c.SendCommand("CODE FIRST", reply, sizeof reply, 1000, nullptr, false, Channel::kMatchAllInOrder,
                             false, "LOGGED", "@00"));
  EXPECT_TRUE(c.SendCommand("LOGIN", reply, sizeof reply, 1000, nullptr, false, Channel::kMatchAllInOrder, false,
                            "LOGGED", "@00"));
  // Any order: both do.
  EXPECT_TRUE(c.SendCommand("CODE FIRST", reply, sizeof reply, 1000, nullptr, false, Channel::kMatchAllAnyOrder,
                            false, "LOGGED", "@00"));
  EXPECT_TRUE(c.SendCommand("LOGIN", reply, sizeof reply, 1000, nullptr, false, Channel::kMatchAllAnyOrder, false,
                            "LOGGED", "@00"));
  // Any of: one present text is enough.
  EXPECT_TRUE(c.SendCommand("LOGIN", reply, sizeof reply, 1000, nullptr, false, Channel::kMatchAny, false,
                            "NEVER", std::string("LOGGED")));
  // Keep: the second call goes on where the first stopped, with what has already arrived.
  unit.SetAnswer("TWO STEP", "STEP1\r\nSTEP2@00\r\n");
  unit.SetPromptDelay(200);
  EXPECT_TRUE(c.SendCommand("TWO STEP", nullptr, 0, 1000, nullptr, false, Channel::kMatchAllInOrder, false, "STEP1"));
  EXPECT_TRUE(c.SendCommand(nullptr, reply, sizeof reply, 1000, nullptr, true, Channel::kMatchAllInOrder, false,
                            "STEP2", "@00"));
  EXPECT_STREQ(reply, "STEP1\r\nSTEP2@00\r\n");
}

TEST_F(ChannelTest, ReplyBufferBoundsAndAWaitWithoutExpectedTexts) {
  std::string big(400, 'v');
  unit.SetAnswer("BIG", big + "@00\r\n");
  Channel c(&port);
  ASSERT_TRUE(c.SendCommand("BIG", reply, sizeof reply, 1500, nullptr, false, 0, false, "@00"));
  EXPECT_EQ(std::string(reply), big.substr(0, 255));
  char small[4];
  ASSERT_TRUE(c.SendCommand("BIG", small, sizeof small, 1500, nullptr, false, 0, false, "@00"));
  EXPECT_STREQ(small, "vvv");
  EXPECT_EQ(c.GetReply(), big + "@00\r\n");
  // Nothing expected: never complete, the reply so far is still handed back.
  platform::SetTimeScale(0.1);
  unit.SetAnswer("PARTIAL", "half a line");
  EXPECT_FALSE(c.SendCommand("PARTIAL", reply, sizeof reply, 1500, nullptr, false, 0, false));
  EXPECT_STREQ(reply, "half a line");
  // A reply with a NUL byte is copied up to it.
  unit.SetAnswer("NUL", std::string("ab\0cd@00\r\n", 10));
  ASSERT_TRUE(c.SendCommand("NUL", reply, sizeof reply, 1500, nullptr, false, 0, false, "@00"));
  EXPECT_STREQ(reply, "ab");
}

TEST_F(ChannelTest, ExtraEventEndsTheWait) {
  unit.SetSilent(true);
  platform::Event stop;
  std::thread t([&] {
    unit.WaitForCommands(1, 5000);
    stop.Set();
  });
  Channel c(&port);
  EXPECT_FALSE(c.SendCommand("SLOW", reply, sizeof reply, 60000, &stop, false, 0, false, "@00"));
  t.join();
}

TEST_F(ChannelTest, CarriageReturnAloneExpectingLineEnd) {
  // The echo of "\r" is "\r\n": removed once, so the line end of the prompt still counts.
  Channel c(&port);
  ASSERT_TRUE(c.SendCommand("\r", reply, sizeof reply, 1500, nullptr, false, 0, false, "\r\n"));
  EXPECT_TRUE(c.SendCommand("\r", reply, sizeof reply, 1500, nullptr, false, 0, false, "CLI>"));
  EXPECT_STREQ(reply, "");
}

TEST_F(ChannelTest, WaitForRepliesPostsProgressAndKeepsTheMatchText) {
  platform::SetTimeScale(0.1);
  Channel c(&port);
  std::thread t([&] {
    platform::SleepMs(30);
    unit.Send("SURVEY DONE\r\n");
  });
  EXPECT_TRUE(c.WaitForReplies(10000, 100, 50, window.Handle(), nullptr, Channel::kMatchAny, "DONE", nullptr));
  t.join();
  EXPECT_EQ(c.GetReply(), "SURVEY DONE\r\n");
  auto progress = window.Messages(kMsgProgress);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back().lParam, 100);
}

TEST_F(ChannelTest, RebootSendsTheImageSwitchesTheRateAndWaitsForTheBanner) {
  platform::SetTimeScale(0.05);
  sim::InstallReboot(unit, {.bannerDelayMs = 3000, .rateAfter = 19200});
  unit.SetRateCheck(true);
  Channel c(&port);
  ASSERT_TRUE(c.RebootUnit(window.Handle(), nullptr, 8, 19200));
  EXPECT_NE(unit.Received().find("\rBOOT IMAGE 8\r"), std::string::npos);
  EXPECT_EQ(unit.LineRate(), 19200u);
  EXPECT_EQ(port.GetBaudRate(), 19200u);
  auto progress = window.Messages(kMsgProgress);
  ASSERT_GE(progress.size(), 2u);
  for (size_t i = 1; i < progress.size(); ++i) EXPECT_GE(progress[i].lParam, progress[i - 1].lParam);
  EXPECT_EQ(progress.back().lParam, 100);
  // After the reboot the unit answers at its new rate.
  unit.SetAnswer("INFO ID", "41@00\r\n");
  Channel next(&port);
  EXPECT_TRUE(next.SendCommand("INFO ID", reply, sizeof reply, 1500, nullptr, false, 0, false, "@0"));
}

TEST_F(ChannelTest, RebootOfTheBootLoaderAndAStoppedReboot) {
  platform::SetTimeScale(0.05);
  sim::InstallReboot(unit, {.bannerDelayMs = 3000, .bootLoader = true});
  {
    Channel c(&port);
    ASSERT_TRUE(c.RebootUnit(platform::kNoWindow, nullptr, -1, -1, true));
    EXPECT_NE(unit.Received().find("\rBOOT\r"), std::string::npos);
  }
  unit.SetSilent(true);
  platform::Event stop;
  std::thread t([&] {
    unit.WaitForCommands(4, 5000);
    stop.Set();
  });
  Channel c(&port);
  platform::SetTimeScale(1.0);
  EXPECT_FALSE(c.RebootUnit(platform::kNoWindow, &stop, -1, -1));
  t.join();
}

TEST(ChannelLineEvents, CtsAndTransmitEmptyFromTheLine) {
  sim::SimLinePort line;
  Channel c(&line);
  std::atomic<bool> done{false};
  auto pulse = [&](uint32_t mask) {
    return std::thread([&, mask] {
      while (!done) {
        line.InjectEvent(mask);
        platform::SleepMs(2);
      }
    });
  };
  line.SetModemStatus(kMsCtsOn);
  std::thread t = pulse(kEvCts);
  EXPECT_TRUE(c.WaitForCts(5000));
  done = true;
  t.join();
  // A CTS event while CTS reads low does not count; a transmit-empty event is not CTS.
  done = false;
  line.SetModemStatus(0);
  t = pulse(kEvCts | kEvTxEmpty);
  EXPECT_FALSE(c.WaitForCts(100));
  EXPECT_TRUE(c.WaitForTxEmpty(5000));
  done = true;
  t.join();
  // Line events never complete a reply wait.
  done = false;
  line.SetModemStatus(kMsCtsOn);
  t = pulse(kEvCts | kEvTxEmpty);
  EXPECT_FALSE(c.SendCommand(nullptr, nullptr, 0, 100, nullptr, false, 0, false, "@00"));
  done = true;
  t.join();
}

TEST_F(ChannelTest, TransmitEmptyIsNotReportedBySerialPortByDefault) {
  platform::SetTimeScale(0.1);
  Channel c(&port);
  port.Write("x", 1, nullptr, -1, nullptr);
  EXPECT_FALSE(c.WaitForTxEmpty(500));
  // With transmit-empty in the event mask the reader reports the drained line.
  ASSERT_TRUE(port.SetEventMask(kEvRxChar | kEvCts | kEvTxEmpty));
  std::thread t([&] {
    platform::SleepMs(20);
    port.Write("y", 1, nullptr, -1, nullptr);
  });
  EXPECT_TRUE(c.WaitForTxEmpty(50000));
  t.join();
}

}  // namespace
