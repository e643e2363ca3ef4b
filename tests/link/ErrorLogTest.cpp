#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "link/Utf.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcLogMessage.h"

TEST(ErrorLog, ListsEntriesNumberedFromOneWithCodeAndText) {
  VkcErrorProcessor log;
  log.ReportError(0, "Unable to open port %s", "COM3");
  log.ReportError(31, "Unable to %s RTS", "set");
  EXPECT_EQ(log.GetText(), u"1) Error #0 - Unable to open port COM3\r\n2) Error #31 - Unable to set RTS\r\n");
  log.Clear();
  EXPECT_EQ(log.GetText(), u"");
  log.ReportError(258, "%s", "again");
  EXPECT_EQ(log.GetTextUtf8(), "1) Error #258 - again\r\n");
}

TEST(ErrorLog, KeepsTheNewestEntriesNumberedFromOne) {
  VkcErrorProcessor log;
  for (int i = 1; i <= static_cast<int>(VkcErrorProcessor::kMaxEntries) + 2; ++i) log.ReportError(0, "e%d", i);
  ASSERT_EQ(log.Count(), VkcErrorProcessor::kMaxEntries);
  EXPECT_EQ(log.Entries().front().text, "e3");
  const std::string text = log.GetTextUtf8();
  EXPECT_EQ(text.rfind("1) Error #0 - e3\r\n", 0), 0u);
  EXPECT_NE(text.find("10000) Error #0 - e10002\r\n"), std::string::npos);
}

TEST(ErrorLog, ReportsFromManyThreadsAreAllCountedAndNumberedInOrder) {
  VkcErrorProcessor log;
  constexpr int kThreads = 8, kEach = 10000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&log, t] {
      for (int i = 0; i < kEach; ++i) log.ReportError(static_cast<uint32_t>(t), "thread %d report %d", t, i);
    });
  }
  for (auto& th : threads) th.join();

  ASSERT_EQ(log.Count(), VkcErrorProcessor::kMaxEntries);
  // Each thread's surviving reports appear in the order it made them.
  std::vector<int> last(kThreads, -1);
  for (const auto& e : log.Entries()) {
    int t = -1, i = -1;
    ASSERT_EQ(std::sscanf(e.text.c_str(), "thread %d report %d", &t, &i), 2) << e.text;
    ASSERT_EQ(static_cast<uint32_t>(t), e.code);
    EXPECT_GT(i, last[t]);
    last[t] = i;
  }
  // The newest entry is the final report of the thread that finished last.
  int lastI = -1;
  std::sscanf(log.Entries().back().text.c_str(), "thread %*d report %d", &lastI);
  EXPECT_EQ(lastI, kEach - 1);
  // Numbers run without gaps from 1 at the first kept entry.
  const std::string text = log.GetTextUtf8();
  size_t pos = 0;
  int expected = 1;
  while (pos < text.size()) {
    const size_t end = text.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos);
    ASSERT_EQ(std::stoi(text.substr(pos, text.find(')', pos) - pos)), expected);
    ++expected;
    pos = end + 2;
  }
  EXPECT_EQ(expected, static_cast<int>(VkcErrorProcessor::kMaxEntries) + 1);
}

TEST(LogMessage, TakeTextEmptiesTheMailbox) {
  VkcLogMessage box;
  box.Append("Erasing...\r\n").Append("done", -1).Append("12345", 2);
  EXPECT_EQ(box.TakeText(), u"Erasing...\r\ndone12");
  EXPECT_EQ(box.TakeText(), u"");
  box.Append("x");
  box.Clear();
  EXPECT_EQ(box.TakeTextUtf8(), "");
}

TEST(LogMessage, ConcurrentAppendsAndTakesLoseNothing) {
  VkcLogMessage box;
  std::thread writer([&] {
    for (int i = 0; i < 20000; ++i) box.Append("ab", -1);
  });
  std::string all;
  while (all.size() < 40000) all += box.TakeTextUtf8();
  writer.join();
  EXPECT_EQ(all.size(), 40000u);
  EXPECT_EQ(all.find("aa"), std::string::npos);
}

TEST(ErrorLog, ClearThroughKeepsWhatWasLoggedAfterTheMark) {
  VkcErrorProcessor log;
  log.ReportError(0, "%s", "seen 1");
  log.ReportError(0, "%s", "seen 2");
  uint64_t mark = 0;
  EXPECT_EQ(log.GetText(mark), u"1) Error #0 - seen 1\r\n2) Error #0 - seen 2\r\n");
  log.ReportError(5, "%s", "unseen");
  log.ClearThrough(mark);
  EXPECT_EQ(log.GetTextUtf8(), "1) Error #5 - unseen\r\n");
  // Entries pushed out by the limit since the mark count as cleared, not the unseen ones.
  for (size_t i = 0; i < VkcErrorProcessor::kMaxEntries; ++i) log.ReportError(0, "%s", "old");
  log.GetText(mark);
  for (int i = 0; i < 3; ++i) log.ReportError(7, "%s", "new");
  log.ClearThrough(mark);
  EXPECT_EQ(log.GetTextUtf8(), "1) Error #7 - new\r\n2) Error #7 - new\r\n3) Error #7 - new\r\n");
}
