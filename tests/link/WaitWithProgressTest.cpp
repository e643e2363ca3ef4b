#include "link/WaitWithProgress.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/Timing.h"

using platform::Event;
using platform::PostedMessage;
using platform::RecordingWindow;

namespace {
std::vector<intptr_t> Percentages(const RecordingWindow& w) {
  std::vector<intptr_t> out;
  for (const auto& m : w.Messages(kMsgProgress)) {
    EXPECT_EQ(m.wParam, kProgressPercent);
    out.push_back(m.lParam);
  }
  return out;
}
}  // namespace

TEST(WaitWithProgress, PostsEveryStepThenTheEnd) {
  RecordingWindow w;
  Event never;
  EXPECT_EQ(WaitWithProgress(0, 100, 10, 100, w.Handle(), {&never}), platform::kWaitTimeout);
  EXPECT_EQ(Percentages(w), (std::vector<intptr_t>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100}));

  // Fractional steps are rounded; the end is posted exactly.
  w.Clear();
  EXPECT_EQ(WaitWithProgress(20, 30, 3, 3, w.Handle(), {&never}), platform::kWaitTimeout);
  EXPECT_EQ(Percentages(w), (std::vector<intptr_t>{23, 27, 30, 30}));
}

TEST(WaitWithProgress, StepsBelowOneCountAsOne) {
  RecordingWindow w;
  EXPECT_EQ(WaitWithProgress(0, 50, 0, 5, w.Handle(), {}), platform::kWaitTimeout);
  EXPECT_EQ(Percentages(w), (std::vector<intptr_t>{50, 50}));
  w.Clear();
  EXPECT_EQ(WaitWithProgress(0, 50, -3, 5, w.Handle(), {}), platform::kWaitTimeout);
  EXPECT_EQ(Percentages(w), (std::vector<intptr_t>{50, 50}));
  // No window: nothing posted anywhere, still the wait result.
  EXPECT_EQ(WaitWithProgress(0, 50, 2, 2, platform::kNoWindow, {}), platform::kWaitTimeout);
}

TEST(WaitWithProgress, ASignalledEventEndsTheWaitWithItsIndex) {
  RecordingWindow w;
  Event a, b(Event::ResetMode::Auto);
  b.Set();
  EXPECT_EQ(WaitWithProgress(0, 100, 10, 100000, w.Handle(), {&a, &b}), 1u);
  EXPECT_EQ(Percentages(w), (std::vector<intptr_t>{100}));
  EXPECT_FALSE(b.IsSet());  // the auto-reset signal was taken

  // Set while the wait runs: it ends early with the index, then posts the end.
  w.Clear();
  std::thread setter([&] {
    w.WaitForMessage(kMsgProgress, kProgressPercent, 60000);
    a.Set();
  });
  EXPECT_EQ(WaitWithProgress(0, 100, 10, 10000, w.Handle(), {&a, &b}), 0u);
  setter.join();
  const auto posted = Percentages(w);
  ASSERT_GE(posted.size(), 2u);
  EXPECT_LT(posted.size(), 11u);
  EXPECT_EQ(posted.front(), 10);
  EXPECT_EQ(posted.back(), 100);
}
