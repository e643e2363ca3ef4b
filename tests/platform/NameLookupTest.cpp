// Name lookups that a wake event ends, with a substituted lookup standing in for a slow name server.

#include "platform/NameLookup.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <netdb.h>
#include <thread>

#include "platform/Event.h"
#include "platform/TcpSocket.h"
#include "support/TestSupport.h"

using platform::Event;

namespace {

Event& Release() {
  static Event e;
  return e;
}
std::atomic<int> calls{0};

// A name server that answers only once released (or after half a minute), then with 127.1.2.3.
int HangingLookup(const std::string&, uint16_t port, sockaddr_in* address) {
  ++calls;
  Release().Wait(30000);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(0x7F010203);
  *address = a;
  return 0;
}

int UnknownName(const std::string&, uint16_t, sockaddr_in*) {
  ++calls;
  return EAI_NONAME;
}

std::string Text(const sockaddr_in& a) {
  char buf[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &a.sin_addr, buf, sizeof buf);
  return std::string(buf) + ":" + std::to_string(ntohs(a.sin_port));
}

// Substitutes the lookup for one test; at its end lets every lookup still running finish, so none
// outlives the test.
struct Substitute {
  explicit Substitute(platform::BlockingLookup f) {
    calls = 0;
    Release().Reset();
    platform::SetBlockingLookupForTesting(f);
  }
  ~Substitute() {
    Release().Set();
    EXPECT_TRUE(testsupport::WaitUntil([] { return platform::LookupsRunning() == 0; }, 35000));
    platform::SetBlockingLookupForTesting(nullptr);
  }
};

}  // namespace

TEST(NameLookup, AnswersOrFailsAsTheLookupDoes) {
  struct Case {
    const char* host;
    platform::BlockingLookup lookup;  // nullptr: the system's
    bool wake;                        // wake events given
    int result;
    const char* address;              // on success
    int calls;                        // of the substituted lookup
  } const cases[] = {
      {"127.0.0.1", HangingLookup, true, 0, "127.0.0.1:2101", 0},  // a dotted address needs no lookup
      {"127.3.4.5", HangingLookup, false, 0, "127.3.4.5:2101", 0},
      {"localhost", nullptr, true, 0, "127.0.0.1:2101", 0},
      {"localhost", nullptr, false, 0, "127.0.0.1:2101", 0},
      {"gateway.invalid", UnknownName, true, EAI_NONAME, "", 1},
      {"gateway.invalid", UnknownName, false, EAI_NONAME, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.host) + (c.wake ? " with wake events" : ""));
    Substitute s(c.lookup);
    Event stop, close;
    sockaddr_in a{};
    int rc = platform::TcpSocket::Resolve(c.host, 2101, &a, c.wake ? stop.Fd() : -1, c.wake ? close.Fd() : -1);
    EXPECT_EQ(rc, c.result) << gai_strerror(rc);
    if (c.result == 0) {
      EXPECT_EQ(Text(a), c.address);
    }
    EXPECT_EQ(calls.load(), c.calls);
  }
}

TEST(NameLookup, AWakeEventEndsTheWaitForASlowLookup) {
  for (int which : {0, 1, 2}) {  // the first, the second, or either set before the lookup starts
    SCOPED_TRACE(which);
    Substitute s(HangingLookup);
    Event stop, close;
    if (which == 2) close.Set();
    std::thread waker([&] {
      if (which == 2) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      (which == 0 ? stop : close).Set();
    });
    sockaddr_in a{};
    EXPECT_EQ(platform::TcpSocket::Resolve("gateway.example", 2101, &a, stop.Fd(), close.Fd()), EAI_CANCELED);
    waker.join();
    // Returned while the lookup still hangs; what it finds later goes nowhere.
    EXPECT_EQ(platform::LookupsRunning(), 1);
    EXPECT_EQ(a.sin_addr.s_addr, 0u);
  }
}
