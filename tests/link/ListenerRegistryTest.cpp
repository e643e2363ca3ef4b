// The listener registry: groups, removal, delivery order and skip, and its one lock under load.

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/ListenerRegistry.h"
#include "link/VkcComPort.h"
#include "platform/Event.h"
#include "platform/Timing.h"
#include "sim/SimLinePort.h"
#include "support/TestSupport.h"

namespace {

class Recorder : public VkcComPortInterface {
 public:
  explicit Recorder(std::vector<std::string>* order = nullptr, std::string name = {})
      : order_(order), name_(std::move(name)) {}
  ~Recorder() override { ListenerRegistry::Global().Remove(this); }
  void OnDataReceived(const uint8_t* d, size_t n, VkcComPort*) override {
    std::lock_guard<std::mutex> g(m_);
    received.append(reinterpret_cast<const char*>(d), n);
    if (order_) order_->push_back(name_);
  }
  void OnDataSent(const uint8_t* d, size_t n, VkcComPort*) override {
    std::lock_guard<std::mutex> g(m_);
    sent.append(reinterpret_cast<const char*>(d), n);
  }
  void OnPortEvent(uint32_t mask, VkcComPort*) override {
    std::lock_guard<std::mutex> g(m_);
    events.push_back(mask);
  }
  void OnEnableChanged() override { enableChanges++; }

  std::mutex m_;
  std::string received, sent;
  std::vector<uint32_t> events;
  int enableChanges = 0;

 private:
  std::vector<std::string>* order_;
  std::string name_;
};

TEST(ListenerRegistry, DisabledGroupMutesNewAndExistingMembers) {
  ListenerRegistry reg;
  sim::SimLinePort port(&reg);
  Recorder early, late, other;
  port.AddListener(&early, 1);
  port.AddListener(&other, 0);
  EXPECT_TRUE(port.EnableListenerGroup(1, false));
  EXPECT_FALSE(port.IsListenerGroupEnabled(1));
  port.AddListener(&late, 1);
  EXPECT_FALSE(late.IsEnabled());
  port.InjectData("abc");
  EXPECT_EQ(early.received, "");
  EXPECT_EQ(late.received, "");
  EXPECT_EQ(other.received, "abc");
  // Muted listeners stay in the table and hear again once the group is enabled.
  EXPECT_EQ(reg.Count(), 3u);
  port.EnableListenerGroup(1, true);
  EXPECT_TRUE(port.IsListenerGroupEnabled(1));
  port.InjectData("de");
  EXPECT_EQ(early.received, "de");
  EXPECT_EQ(late.received, "de");
  EXPECT_EQ(other.received, "abcde");
  EXPECT_GE(early.enableChanges, 2);
  reg.Remove(&early);
  reg.Remove(&late);
  reg.Remove(&other);
}

TEST(ListenerRegistry, RemoveResultsAndGroupReplacement) {
  ListenerRegistry reg;
  sim::SimLinePort port(&reg);
  Recorder l;
  EXPECT_TRUE(port.RemoveListener(&l));  // never added
  EXPECT_FALSE(l.IsRegistered());
  port.AddListener(&l, 0);
  port.AddListener(&l, 1);  // replaces the group
  EXPECT_EQ(reg.Count(), 1u);
  port.EnableListenerGroup(0, false);
  EXPECT_TRUE(l.IsEnabled());
  port.EnableListenerGroup(1, false);
  EXPECT_FALSE(l.IsEnabled());
  EXPECT_TRUE(port.RemoveListener(&l));
  EXPECT_FALSE(port.RemoveListener(&l));
  EXPECT_TRUE(l.IsRegistered());  // the flag is never cleared
  // A listener that forgot to unregister is taken out of the table when it goes.
  {
    VkcComPortInterface forgetful;
    port.AddListener(&forgetful, 0);
    EXPECT_EQ(reg.Count(), 1u);
  }
  EXPECT_EQ(reg.Count(), 0u);
  port.InjectData("safe");
}

TEST(ListenerRegistry, DeliveryOrderEventsAndSentSkip) {
  ListenerRegistry reg;
  sim::SimLinePort port(&reg);
  std::vector<std::string> order;
  Recorder pair[2] = {Recorder(&order, "a"), Recorder(&order, "b")};
  port.AddListener(&pair[1], 0);
  port.AddListener(&pair[0], 0);
  port.InjectData("x");
  EXPECT_EQ(order, (std::vector<std::string>{"a", "b"}));  // ascending address
  port.InjectEvent(kEvCts);
  EXPECT_EQ(pair[0].events, std::vector<uint32_t>{kEvCts});
  EXPECT_EQ(port.Write("hello", -1, &pair[0], -1, nullptr), 5);
  EXPECT_EQ(pair[0].sent, "");
  EXPECT_EQ(pair[1].sent, "hello");
  reg.Remove(&pair[0]);
  reg.Remove(&pair[1]);
}

TEST(ListenerRegistry, ListenersRegisteredThroughEitherPortHearBoth) {
  sim::SimLinePort serial, tcp;  // both on the process-wide table
  Recorder l;
  serial.AddListener(&l, 0);
  tcp.InjectData("t");
  serial.InjectData("s");
  EXPECT_EQ(l.received, "ts");
  EXPECT_TRUE(tcp.RemoveListener(&l));
  serial.InjectData("z");
  EXPECT_EQ(l.received, "ts");
}

class SlowListener : public VkcComPortInterface {
 public:
  ~SlowListener() override { ListenerRegistry::Global().Remove(this); }
  void OnDataReceived(const uint8_t*, size_t, VkcComPort*) override {
    entered.Set();
    platform::SleepMs(50);
    alive.store(alive.load() + 1);
  }
  platform::Event entered;
  std::atomic<int> alive{0};
};

TEST(ListenerRegistry, RemoveWaitsForTheCallbackInFlight) {
  sim::SimLinePort port;
  auto* l = new SlowListener();
  port.AddListener(l, 0);
  std::thread reader([&] { port.InjectData("x"); });
  ASSERT_EQ(l->entered.Wait(5000), 0u);
  EXPECT_TRUE(port.RemoveListener(l));
  EXPECT_EQ(l->alive.load(), 1);  // the callback ended before Remove returned
  delete l;
  reader.join();
}

class Counter : public VkcComPortInterface {
 public:
  ~Counter() override { ListenerRegistry::Global().Remove(this); }
  void OnDataReceived(const uint8_t*, size_t n, VkcComPort*) override { bytes += n; }
  size_t bytes = 0;  // only touched under the registry lock
};

TEST(ListenerRegistry, StressDeliveryWhileOtherThreadsAddAndRemove) {
  sim::SimLinePort serial, tcp;
  Counter fixed;
  serial.AddListener(&fixed, 0);
  std::atomic<bool> done{false};
  std::thread deliver([&] {
    for (int i = 0; i < 100000; ++i) (i % 2 ? serial : tcp).InjectData("ab");
    done = true;
  });
  auto churn = [&](VkcComPort& through) {
    for (uint32_t round = 0; !done; ++round) {
      Counter stackListener;
      through.AddListener(&stackListener, round % 2);
      through.EnableListenerGroup(1, false);
      through.EnableListenerGroup(1, true);
      through.RemoveListener(&stackListener);
    }
  };
  std::thread a(churn, std::ref(serial)), b(churn, std::ref(tcp));
  deliver.join();
  a.join();
  b.join();
  serial.RemoveListener(&fixed);
  EXPECT_EQ(fixed.bytes, 200000u);
}

}  // namespace
