#include "platform/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>

using platform::Event;
using platform::WorkerThread;

TEST(WorkerThread, StopsOnItsEventWithinBound) {
  WorkerThread w;
  std::atomic<int> loops{0};
  ASSERT_TRUE(w.Start([&](Event& stop) {
    while (stop.Wait(5) != 0) ++loops;
  }));
  EXPECT_FALSE(w.Start([](Event&) {}));  // one run at a time
  bool overran = false;
  EXPECT_TRUE(w.Stop(2000, [&] { overran = true; }));
  EXPECT_FALSE(overran);
  EXPECT_FALSE(w.IsRunning());
}

TEST(WorkerThread, OverrunIsReportedAndJoinStillWaits) {
  WorkerThread w;
  Event release;
  std::atomic<bool> ended{false};
  w.Start([&](Event&) {
    release.Wait(5000);  // ignores the stop event on purpose
    ended = true;
  });
  int overruns = 0;
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    release.Set();
  });
  EXPECT_FALSE(w.Stop(10, [&] { ++overruns; }));
  EXPECT_EQ(overruns, 1);
  EXPECT_TRUE(ended.load());  // joined, never abandoned
  releaser.join();
}

TEST(WorkerThread, RestartsAfterARunEnded) {
  WorkerThread w;
  std::atomic<int> runs{0};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(w.Start([&](Event&) { ++runs; }));
    EXPECT_TRUE(w.Join(2000));
  }
  EXPECT_EQ(runs.load(), 3);
}
