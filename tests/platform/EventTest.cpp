#include "platform/Event.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <thread>
#include <vector>

using platform::Event;
using platform::kWaitTimeout;

TEST(Event, ManualResetStaysSetUntilReset) {
  Event e(Event::ResetMode::Manual);
  EXPECT_EQ(e.Wait(0), kWaitTimeout);
  e.Set();
  e.Set();  // idempotent
  EXPECT_EQ(e.Wait(0), 0u);
  EXPECT_EQ(e.Wait(0), 0u);
  e.Reset();
  EXPECT_EQ(e.Wait(10), kWaitTimeout);
}

TEST(Event, AutoResetIsConsumedByOneWait) {
  Event e(Event::ResetMode::Auto, true);
  EXPECT_EQ(e.Wait(0), 0u);
  EXPECT_EQ(e.Wait(0), kWaitTimeout);
  e.Set();
  e.Set();  // two sets before a wait still release one waiter
  EXPECT_EQ(e.Wait(0), 0u);
  EXPECT_EQ(e.Wait(0), kWaitTimeout);
}

TEST(Event, AutoResetSetReleasesExactlyOneOfManyWaiters) {
  Event e(Event::ResetMode::Auto);
  std::atomic<int> released{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      if (e.Wait(300) == 0) ++released;
    });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  e.Set();
  for (auto& t : threads) t.join();
  EXPECT_EQ(released.load(), 1);
}

TEST(Event, WaitAnyAnswersLowestSignalledIndexOrTimeout) {
  Event a, b(Event::ResetMode::Auto), c;
  EXPECT_EQ(Event::WaitAny({&a, &b, &c}, 5), kWaitTimeout);
  c.Set();
  b.Set();
  EXPECT_EQ(Event::WaitAny({&a, &b, &c}, 0), 1u);  // consumes b's auto-reset signal only
  EXPECT_EQ(Event::WaitAny({&a, &b, &c}, 0), 2u);
  EXPECT_TRUE(c.IsSet());
}

TEST(Event, WaitAnyWakesOnSetFromAnotherThread) {
  Event a, b;
  std::thread t([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    b.Set();
  });
  EXPECT_EQ(Event::WaitAny({&a, &b}, 5000), 1u);
  t.join();
}

TEST(Event, FdIsReadableExactlyWhileSignalled) {
  Event e(Event::ResetMode::Auto);
  pollfd p{e.Fd(), POLLIN, 0};
  EXPECT_EQ(::poll(&p, 1, 0), 0);
  e.Set();
  EXPECT_EQ(::poll(&p, 1, 0), 1);
  EXPECT_EQ(e.Wait(0), 0u);  // taking the signal drains the descriptor
  EXPECT_EQ(::poll(&p, 1, 0), 0);

  Event m(Event::ResetMode::Manual, true);
  pollfd q{m.Fd(), POLLIN, 0};  // created after the set: still readable
  EXPECT_EQ(::poll(&q, 1, 0), 1);
  m.Reset();
  EXPECT_EQ(::poll(&q, 1, 0), 0);
}
