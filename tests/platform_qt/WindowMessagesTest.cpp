#include "platform/qt/WindowMessages.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using platform::qt::WindowMessages;

TEST(WindowMessages, WorkerPostsArriveOnTheUiThreadInOrder) {
  std::vector<intptr_t> seen;
  std::atomic<bool> wrongThread{false};
  const auto ui = std::this_thread::get_id();
  WindowMessages target([&](uint32_t msg, intptr_t w, intptr_t) {
    if (std::this_thread::get_id() != ui) wrongThread = true;
    if (msg == 2024) seen.push_back(w);
  });
  std::thread worker([h = target.Handle()] {
    for (int i = 0; i < 50; ++i) platform::PostMessage(h, 2024, i, 0);
  });
  worker.join();
  EXPECT_TRUE(seen.empty());  // nothing runs until the event loop does
  QTRY_COMPARE_WITH_TIMEOUT(seen.size(), size_t{50}, 2000);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(seen[i], i);
  EXPECT_FALSE(wrongThread.load());
}

TEST(WindowMessages, QueuedMessagesOfADestroyedTargetAreDropped) {
  int calls = 0;
  platform::WindowHandle handle;
  {
    WindowMessages target([&](uint32_t, intptr_t, intptr_t) { ++calls; });
    handle = target.Handle();
    EXPECT_TRUE(platform::PostMessage(handle, 1044, 1, 0));  // queued, not yet handled
  }
  EXPECT_FALSE(platform::PostMessage(handle, 1044, 2, 0));
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(calls, 0);
}
