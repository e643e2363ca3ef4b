// The spectrum scan: the sample-stream reader and the sample ring, then whole scans against the
// simulated beacon receiver's analyser over a pseudo-terminal.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "link/VkcMessageIds.h"
#include "sim/SimSpectrum.h"
#include "unit/SpectrumSampleStream.h"
#include "unit/SpectrumScanData.h"
#include "unit/VkcSaCommand.h"
#include "unit/VkcSpectrumUtilityController.h"
#include "UnitTestText.h"
#include "UtilityTestUnit.h"

namespace {

using Points = std::vector<std::pair<double, double>>;

Points Feed(const std::vector<std::string>& chunks) {
  SpectrumSampleStream stream;
  Points out;
  for (const std::string& c : chunks)
    stream.Feed(reinterpret_cast<const uint8_t*>(c.data()), c.size(),
                [&](double f, double l) { out.emplace_back(f, l); });
  return out;
}

TEST(SpectrumSampleStream, EveryLineOfEveryChunk) {
  const std::string overlong(SpectrumSampleStream::kMaxLine + 10, '7');
  const std::vector<std::pair<std::vector<std::string>, Points>> cases = {
      {{"1000\t-90.5\r\n2000\t-91.0\r\n3000\t-92.5\r\n"}, {{1000, -90.5}, {2000, -91}, {3000, -92.5}}},
      // A line cut across two reads is one sample, not a wrong one from its tail.
      {{"283500\t-11", "9.0\r\n"}, {{283500, -119}}},
      {{"283", "500\t", "-119.0\r", "\n284000\t-1e2\r"}, {{283500, -119}, {284000, -100}}},
      {{"no tab here\r\n", "abc\t-90\r", "5\tx\r"}, {{0, -90}, {5, 0}}},
      {{" +7\t inf\r", "8\tnan\r", "\t\r"}, {{7, 0}, {8, 0}, {0, 0}}},
      // A line without end is dropped up to its CR; the next line counts again.
      {{overlong + "\t-5\r", "9\t-9\r"}, {{9, -9}}},
      {{"1\t2"}, {}},
  };
  for (const auto& [chunks, want] : cases) EXPECT_EQ(Feed(chunks), want) << chunks.front();
}

TEST(SpectrumScanData, RingKeepsTheLatestCountAndRefusesEmptyRanges) {
  SpectrumScanData data;
  EXPECT_FALSE(data.AddPoint(1, 2));  // no arrays yet
  data.SetParameters(283500, 325000, 103, 320);
  ASSERT_TRUE(data.Allocate());
  EXPECT_EQ(data.GetCount(), 402u);
  std::vector<double> f, l;
  data.CopyPoints(f, l);
  EXPECT_EQ(f.front(), 0.0);
  EXPECT_EQ(l.back(), SpectrumScanData::kNoLevel);
  for (int i = 0; i < 403; ++i) ASSERT_TRUE(data.AddPoint(i, -i));
  EXPECT_EQ(data.GetWriteIndex(), 1u);
  data.CopyPoints(f, l);
  EXPECT_EQ(f[0], 402.0);
  EXPECT_EQ(f[1], 1.0);
  // Ranges that hold no point: no division by zero, no wrap of stop - start, no empty ring.
  for (auto [start, stop, step] : std::vector<std::tuple<uint32_t, uint32_t, uint32_t>>{
           {0, 0, 0}, {1000, 2000, 0}, {2000, 1000, 10}, {1000, 1000, 1}, {1000, 1050, 100}}) {
    data.SetParameters(start, stop, step, 320);
    EXPECT_FALSE(data.Allocate()) << start << " " << stop << " " << step;
    EXPECT_FALSE(data.AddPoint(1, 1));
  }
}

class SpectrumScan : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(u.opened); }
  std::vector<std::string> Commands() { return unittext::Clean(u.unit.Commands()); }
  bool Has(const std::string& command) {
    auto c = Commands();
    return std::find(c.begin(), c.end(), command) != c.end();
  }
  unittest::UtilityUnit u{3601};
  sim::SimSpectrum analyser{u.unit};
  SpectrumScanData data;
  VkcSpectrumUtilityController controller{u.system, data};
};

TEST_F(SpectrumScan, ScansTwoThousandSamplesAndStopsWithinASecond) {
  data.SetParameters(280000, 330000, 25, 320);
  // Lines still on their way push the answer to "@SA OFF" far behind its echo.
  analyser.SetLinesBeforeStopReply(60);
  controller.StartStop(u.window.Handle());
  ASSERT_TRUE(u.window.WaitForMessage(kMsgSpectrum, 1, 10000));
  EXPECT_TRUE(controller.IsReceiving());
  ASSERT_TRUE(u.window.WaitForMessage(kMsgSpectrum, 2, 10000));
  // A full sweep after the first redraw.
  const uint64_t seen = analyser.LinesSent();
  while (analyser.LinesSent() < seen + 2200) platform::SleepMs(20);
  controller.StartStop(u.window.Handle());
  EXPECT_TRUE(u.window.WaitForMessage(kMsgSpectrum, 3, 1000));
  controller.Join();
  EXPECT_FALSE(controller.IsReceiving());
  EXPECT_FALSE(analyser.IsStreaming());

  const std::vector<intptr_t> notices = unittest::Notices(u.window, kMsgSpectrum);
  EXPECT_EQ(notices.front(), 1);
  EXPECT_EQ(notices.back(), 3);
  EXPECT_EQ(std::count(notices.begin(), notices.end(), 0), 0);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"DD", "@SA ON 280000 330000 25 320", "LINK SAR 1", "@SA OFF"}));
  // Every point is a sample the unit sent, on the grid and with its level: no line lost or torn.
  std::vector<double> f, l;
  data.CopyPoints(f, l);
  ASSERT_EQ(f.size(), 2000u);
  std::vector<bool> covered(2000, false);
  for (size_t i = 0; i < f.size(); ++i) {
    const double k = (f[i] - 280000) / 25;
    ASSERT_TRUE(k >= 0 && k < 2000 && k == std::floor(k)) << f[i];
    covered[static_cast<size_t>(k)] = true;
    EXPECT_NEAR(l[i], sim::SimSpectrum::Level(static_cast<uint32_t>(f[i]), 280000, 330000), 0.051) << f[i];
  }
  EXPECT_EQ(std::count(covered.begin(), covered.end(), true), 2000);
}

// The reply of a refused "@SA OFF" as the program reads it: sample lines the analyser still streamed
// in front of the code, however many a loaded machine lets through first, all within the long reply
// the program reads (past it the reply is cut).
bool IsRefusedStopAsRead(const std::string& reply) {
  constexpr size_t kHeld = VkcSaCommand::kLongReplySize - 1;
  if (reply.size() > kHeld) return false;
  for (size_t pos = 0; pos < reply.size();) {
    const size_t end = reply.find("\r\n", pos);
    if (end == std::string::npos) return reply.size() == kHeld;
    const std::string line = reply.substr(pos, end - pos);
    if (line == "@01") return end + 2 == reply.size();
    unsigned frequency = 0;
    double level = 0;
    int used = 0;
    if (std::sscanf(line.c_str(), "%u\t%lf%n", &frequency, &level, &used) != 2 ||
        static_cast<size_t>(used) != line.size())
      return false;
    pos = end + 2;
  }
  return reply.size() == kHeld;
}

TEST_F(SpectrumScan, RefusedAndSilentCommandsEndWithTheirMessages) {
  struct Case {
    int start, master, stop;
    uint32_t linesBeforeStopReply;
    std::string message;  // for a refused stop, what follows the reply as read
  };
  const std::string on = "@SA ON 283500 325000 103 640\r\n";
  const std::string stopTail = " on command = @SA OFF\r\n";
  const std::vector<Case> cases = {
      {1, 0, 0, 0, "Spectrum analyzer command is not supported\nError response = @01\r\n on command = " + on},
      {sim::SimSpectrum::kNoReply, 0, 0, 0, "No response on command = " + on},
      {0, 3, 0, 0, "Could not switch to Beacon Master.\nError response = @03\r\n on command = LINK SAR 1\r\n"},
      {0, 0, 1, 0, stopTail},
      // Samples still streamed in front of the refusal are part of the reply as read.
      {0, 0, 1, 3, stopTail},
  };
  platform::SetTimeScale(0.2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message + " after " + std::to_string(c.linesBeforeStopReply) + " lines");
    analyser.SetStartReply(c.start);
    analyser.SetMasterReply(c.master);
    analyser.SetStopReply(c.stop);
    analyser.SetLinesBeforeStopReply(c.linesBeforeStopReply);
    u.window.Clear();
    data.SetParameters(283500, 325000, 103, 640);
    controller.StartStop(u.window.Handle());
    if (c.stop != 0) {
      ASSERT_TRUE(u.window.WaitForMessage(kMsgSpectrum, 1, 5000));
      controller.StartStop(u.window.Handle());
    }
    ASSERT_TRUE(u.window.WaitForMessage(kMsgSpectrum, 3, 10000));
    controller.Join();
    const std::vector<intptr_t> notices = unittest::Notices(u.window, kMsgSpectrum);
    EXPECT_EQ(notices[notices.size() - 2], 0);
    const std::string message = data.GetMessage();
    if (c.stop != 0) {
      const std::string head = "Error response = ";
      ASSERT_EQ(message.rfind(head, 0), 0u) << message;
      ASSERT_GE(message.size(), head.size() + stopTail.size()) << message;
      ASSERT_EQ(message.substr(message.size() - stopTail.size()), stopTail) << message;
      const std::string reply = message.substr(head.size(), message.size() - head.size() - stopTail.size());
      EXPECT_TRUE(IsRefusedStopAsRead(reply)) << reply;
      if (c.linesBeforeStopReply != 0) {
        EXPECT_NE(reply.find('\t'), std::string::npos) << reply;
      }
    } else {
      EXPECT_EQ(message, c.message);
    }
    // Nothing stays listening: a later stream goes nowhere.
    EXPECT_FALSE(controller.IsReceiving());
  }
  EXPECT_EQ(ErrorLog().Entries().size(), 1u);  // the silent start
}

}  // namespace
