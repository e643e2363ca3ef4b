// The TCP client against the simulated gateway on 127.0.0.1.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <ctime>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "link/ListenerRegistry.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcTCPClient.h"
#include "platform/Messages.h"
#include "platform/NameLookup.h"
#include "platform/Timing.h"
#include "sim/SimGateway.h"
#include "sim/SimTextListener.h"
#include "support/ControlCharacters.h"
#include "support/TestSupport.h"

namespace {

std::vector<intptr_t> Statuses(const platform::RecordingWindow& w) {
  std::vector<intptr_t> out;
  for (auto& m : w.Messages(kPortStatusMessage)) out.push_back(m.wParam);
  return out;
}

bool HasError(const char* text) {
  for (auto& e : ErrorLog().Entries())
    if (e.text == text) return true;
  return false;
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// A name server that does not answer until released (or half a minute passes).
platform::Event& LookupRelease() {
  static platform::Event e;
  return e;
}
std::atomic<int> lookupsStarted{0};
int HangingLookup(const std::string&, uint16_t, sockaddr_in*) {
  ++lookupsStarted;
  LookupRelease().Wait(30000);
  return EAI_AGAIN;
}

// Names are looked up by HangingLookup while it lives; at its end the lookups are let go and
// waited for, so none outlives the test.
struct HangingNameServer {
  HangingNameServer() {
    lookupsStarted = 0;
    LookupRelease().Reset();
    platform::SetBlockingLookupForTesting(HangingLookup);
  }
  ~HangingNameServer() {
    LookupRelease().Set();
    EXPECT_TRUE(testsupport::WaitUntil([] { return platform::LookupsRunning() == 0; }, 35000));
    platform::SetBlockingLookupForTesting(nullptr);
  }
};

struct Scale {
  explicit Scale(double f) { platform::SetTimeScale(f); }
  ~Scale() { platform::SetTimeScale(1.0); }
};

}  // namespace

TEST(TcpClient, LogsInAndPassesBytesBothWays) {
  for (bool split : {false, true}) {
    sim::SimGateway gw;
    ASSERT_TRUE(gw.IsOk());
    gw.SetPrompts(split ? "LOGIN:" : "login: ", split ? "PASSWORD: " : "Password: ", split);
    ListenerRegistry registry;
    sim::TextListener listener;
    platform::RecordingWindow window;
    {
      VkcTCPClient client(&registry);
      client.AddListener(&listener, 0);
      // By name too: the gateway listens on the loopback address.
      EXPECT_TRUE(client.SetTcpSettings(TcpConnectSettings(split ? "localhost" : "127.0.0.1", gw.Port(), "a", "pw")));
      EXPECT_EQ(client.Write("early", -1, nullptr, -1, nullptr), 0);
      EXPECT_TRUE(client.SetOwnerWindow(window.Handle()));
      ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortOpened, 10000));
      EXPECT_EQ(gw.LoginLines(), (std::vector<std::string>{"a", "pw"}));
      EXPECT_TRUE(client.IsOpen());
      EXPECT_EQ(client.GetReplyTimeout(), 10000u);
      EXPECT_EQ(client.GetLongTimeout(), 12000u);
      EXPECT_EQ(client.Write("INFO ID\r", -1, nullptr, -1, nullptr), 8);
      ASSERT_TRUE(gw.WaitFor([&] { return gw.Received() == "INFO ID\r"; }, 5000)) << "early bytes never sent";
      gw.SendToClient("@00\r\nCLI>");
      ASSERT_TRUE(testsupport::WaitUntil([&] { return listener.Text() == "@00\r\nCLI>"; }, 5000));
      EXPECT_TRUE(client.Close());
      ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortClosed, 5000));
      EXPECT_FALSE(client.IsOpen());
      EXPECT_EQ(client.Write("late", -1, nullptr, -1, nullptr), 0);
      client.RemoveListener(&listener);
    }
    EXPECT_EQ(Statuses(window), (std::vector<intptr_t>{kPortOpened, kPortClosed}));
  }
}

// The log-in answers are lines to the gateway: a control character in either sends nothing at all.
TEST(TcpClient, AUserNameOrPasswordWithAControlCharacterIsNeverSent) {
  const std::vector<char> controls = testsupport::ControlCharacters();
  for (size_t i = 0; i < controls.size(); ++i) {
    const bool inUser = i % 2 == 0;
    const std::string bad = std::string("a") + controls[i] + "INJ";
    sim::SimGateway gw;
    ErrorLog().Clear();
    platform::RecordingWindow window;
    VkcTCPClient client;
    client.SetTcpSettings(TcpConnectSettings("127.0.0.1", gw.Port(), inUser ? bad : "a", inUser ? "pw" : bad));
    client.SetOwnerWindow(window.Handle());
    ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortLoginFailed, 10000)) << int(controls[i]);
    EXPECT_TRUE(gw.LoginLines().empty()) << int(controls[i]);
    EXPECT_TRUE(HasError(inUser ? "Gateway user name not sent: its value holds a control character"
                                : "Gateway password not sent: its value holds a control character"));
  }
}

TEST(TcpClient, LoginFailuresEndWithoutRetrying) {
  {  // wrong password, then the gateway hangs up: one login failure, no second attempt
    sim::SimGateway gw;
    gw.SetCloseAfterRefusal(true);
    ErrorLog().Clear();
    platform::RecordingWindow window;
    VkcTCPClient client;
    client.SetTcpSettings(TcpConnectSettings("127.0.0.1", gw.Port(), "a", "bad"));
    client.SetOwnerWindow(window.Handle());
    ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortLoginFailed, 10000));
    window.WaitFor([](auto&) { return false; }, 2500);  // longer than the first reconnect pause
    EXPECT_EQ(Statuses(window), (std::vector<intptr_t>{kPortLoginFailed}));
    EXPECT_EQ(gw.Connections(), 1u);
    EXPECT_TRUE(HasError("Wrong user name or password specified"));
    EXPECT_FALSE(client.IsOpen());
  }
  {  // a gateway that never prompts
    Scale scale(0.02);
    sim::SimGateway gw;
    gw.SetStall(true);
    ErrorLog().Clear();
    platform::RecordingWindow window;
    VkcTCPClient client;
    client.SetTcpSettings(TcpConnectSettings("127.0.0.1", gw.Port(), "a", "pw"));
    client.SetOwnerWindow(window.Handle());
    ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortLoginFailed, 10000));
    EXPECT_TRUE(HasError("Login request time out expired"));
    EXPECT_TRUE(gw.LoginLines().empty());
  }
}

TEST(TcpClient, ReconnectsAfterALostSessionAndBacksOffWhileTheGatewayIsGone) {
  sim::SimGateway gw;
  platform::RecordingWindow window;
  VkcTCPClient client;
  client.SetTcpSettings(TcpConnectSettings("127.0.0.1", gw.Port(), "a", "pw"));
  client.SetOwnerWindow(window.Handle());
  ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortOpened, 10000));

  // The gateway drops the session in the middle of a command: lost, then logged in again.
  gw.DropAfterBytes(3);
  EXPECT_GT(client.Write("INFO ID\r", -1, nullptr, -1, nullptr), 0);
  ASSERT_TRUE(window.WaitFor([](auto& m) { return m.size() >= 3; }, 15000));
  EXPECT_EQ(Statuses(window), (std::vector<intptr_t>{kPortOpened, kPortLostReconnecting, kPortOpened}));
  EXPECT_EQ(gw.LoggedInSessions(), 2u);

  // The gateway goes away: a lost connection, then one failed attempt after each growing pause.
  window.Clear();
  gw.SetRefuseConnections(true);
  ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortLostReconnecting, 5000));
  double cpu0 = CpuSeconds();
  window.WaitFor([](auto&) { return false; }, 4000);
  double cpu = CpuSeconds() - cpu0;
  auto lost = window.Messages(kPortStatusMessage);
  // Pauses of 1, 2 and 4 s: at most four reports in these four seconds, and a spinning client
  // would have made thousands.
  EXPECT_GE(lost.size(), 2u);
  EXPECT_LE(lost.size(), 4u);
  for (auto& m : lost) EXPECT_EQ(m.wParam, kPortLostReconnecting);
  EXPECT_LT(cpu, 1.0) << "the client must sleep between attempts";
  EXPECT_FALSE(client.IsOpen());
  client.Close();
  ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortClosed, 10000));
}

TEST(TcpClient, ConnectFailuresAndClosingAPendingConnect) {
  {  // nothing listens: could not connect
    sim::SimGateway gw;
    uint16_t port = gw.Port();
    gw.SetRefuseConnections(true);
    platform::RecordingWindow window;
    VkcTCPClient client;
    client.SetTcpSettings(TcpConnectSettings("127.0.0.1", port, "a", "pw"));
    client.SetOwnerWindow(window.Handle());
    ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortConnectFailed, 10000));
    window.WaitFor([](auto&) { return false; }, 300);
    EXPECT_EQ(Statuses(window), (std::vector<intptr_t>{kPortConnectFailed}));
  }
  {  // a listener whose queue is full never completes the handshake: Close ends the wait
    int ls = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(ls, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(ls, 0), 0);
    socklen_t len = sizeof a;
    ::getsockname(ls, reinterpret_cast<sockaddr*>(&a), &len);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
      int f = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
      ::connect(f, reinterpret_cast<sockaddr*>(&a), sizeof a);
      fillers.push_back(f);
    }
    platform::RecordingWindow window;
    {
      VkcTCPClient client;
      client.SetTcpSettings(TcpConnectSettings("127.0.0.1", ntohs(a.sin_port), "a", "pw"));
      client.SetOwnerWindow(window.Handle());
      window.WaitFor([](auto&) { return false; }, 300);
      EXPECT_TRUE(Statuses(window).empty()) << "the connect should still be pending";
      client.Close();
      ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortClosed, 3000));
    }
    EXPECT_EQ(Statuses(window), (std::vector<intptr_t>{kPortClosed}));
    for (int f : fillers) ::close(f);
    ::close(ls);
  }
}

TEST(TcpClient, ASlowNameLookupHoldsUpNeitherCloseNorTheEnd) {
  for (bool destroy : {false, true}) {  // Close, or the program ending (the client destroyed)
    SCOPED_TRACE(destroy ? "destroyed" : "closed");
    HangingNameServer names;
    ErrorLog().Clear();
    platform::RecordingWindow window;
    {
      VkcTCPClient client;
      client.SetTcpSettings(TcpConnectSettings("gateway.example", 2101, "a", "pw"));
      client.SetOwnerWindow(window.Handle());
      ASSERT_TRUE(testsupport::WaitUntil([] { return lookupsStarted.load() == 1; }, 5000));
      if (!destroy) {
        client.Close();
        ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortClosed, 3000));
        EXPECT_EQ(Statuses(window), (std::vector<intptr_t>{kPortClosed}));
      }
    }
    EXPECT_EQ(platform::LookupsRunning(), 1) << "the name server has not answered yet";
    for (auto& e : ErrorLog().Entries()) ADD_FAILURE() << "logged: " << e.text;
  }
}

TEST(TcpClient, LargeWriteToASlowReaderArrivesWhole) {
  sim::SimGateway gw;
  platform::RecordingWindow window;
  VkcTCPClient client;
  client.SetTcpSettings(TcpConnectSettings("127.0.0.1", gw.Port(), "a", "pw"));
  client.SetOwnerWindow(window.Handle());
  ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortOpened, 10000));
  gw.SetReadPause(1);
  std::string big(1 << 20, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('A' + i % 23);
  EXPECT_EQ(client.Write(big.data(), static_cast<int>(big.size()), nullptr, 60000, nullptr),
            static_cast<int>(big.size()));
  ASSERT_TRUE(gw.WaitFor([&] { return gw.ReceivedCount() == big.size(); }, 60000));
  EXPECT_TRUE(gw.Received() == big);
}
