#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

using namespace platform;

TEST(Messages, DeliversInOrderToALiveWindow) {
  RecordingWindow w;
  EXPECT_TRUE(PostMessage(w.Handle(), 2024, 2, 40));
  EXPECT_TRUE(PostMessage(w.Handle(), 2024, 1000, 1));
  std::vector<PostedMessage> expected{{2024, 2, 40}, {2024, 1000, 1}};
  EXPECT_EQ(w.Messages(), expected);
  EXPECT_TRUE(w.WaitForMessage(2024, 1000, 0));
}

TEST(Messages, PostsToADestroyedWindowAreDroppedWhileAnotherThreadPosts) {
  auto w = std::make_unique<RecordingWindow>();
  const WindowHandle h = w->Handle();
  std::atomic<bool> go{true};
  std::atomic<int> dropped{0};
  std::thread poster([&] {
    while (go.load())
      if (!PostMessage(h, 1044, 1, 0)) ++dropped;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  w.reset();  // destroyed while posts arrive
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  go = false;
  poster.join();
  EXPECT_GT(dropped.load(), 0);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(PostMessage(kNoWindow, 1, 0, 0));
}

TEST(Messages, HandlesAreNotReused) {
  WindowHandle first;
  {
    RecordingWindow a;
    first = a.Handle();
  }
  RecordingWindow b;
  EXPECT_NE(b.Handle(), first);
  EXPECT_FALSE(PostMessage(first, 1, 0, 0));
}
