// The serial port over a real pseudo-terminal: open and its failures, the reader and its chunks,
// writes, line settings seen by the unit, the status messages, hang-up and close from every side.

#include <dirent.h>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/LinkTimeouts.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcSerialPort.h"
#include "link/VkcTCPClient.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "platform/WorkerThread.h"
#include "sim/SimUnit.h"
#include "support/TestSupport.h"

namespace {

using platform::PostedMessage;

class Collector : public VkcComPortInterface {
 public:
  explicit Collector(VkcComPort& port) : port_(port) { port_.AddListener(this, 0); }
  ~Collector() override { port_.RemoveListener(this); }
  void OnDataReceived(const uint8_t* d, size_t n, VkcComPort*) override {
    std::lock_guard<std::mutex> g(m_);
    data_.append(reinterpret_cast<const char*>(d), n);
    chunks_.push_back(n);
  }
  void OnDataSent(const uint8_t* d, size_t n, VkcComPort*) override {
    std::lock_guard<std::mutex> g(m_);
    sent_.append(reinterpret_cast<const char*>(d), n);
  }
  std::string Data() {
    std::lock_guard<std::mutex> g(m_);
    return data_;
  }
  std::string Sent() {
    std::lock_guard<std::mutex> g(m_);
    return sent_;
  }
  std::vector<size_t> Chunks() {
    std::lock_guard<std::mutex> g(m_);
    return chunks_;
  }
  bool WaitForSize(size_t n, int ms) {
    return testsupport::WaitUntil([&] { return Data().size() >= n; }, ms);
  }

 private:
  VkcComPort& port_;
  std::mutex m_;
  std::string data_, sent_;
  std::vector<size_t> chunks_;
};

std::vector<std::string> ErrorTexts() {
  std::vector<std::string> out;
  for (const auto& e : ErrorLog().Entries()) out.push_back(e.text);
  return out;
}

bool HasError(const std::string& text) {
  for (const auto& t : ErrorTexts())
    if (t == text) return true;
  return false;
}

int CountOpenFds() {
  int n = 0;
  DIR* d = opendir("/proc/self/fd");
  while (readdir(d)) ++n;
  closedir(d);
  return n;
}

std::string FdList() {
  std::string out;
  DIR* d = opendir("/proc/self/fd");
  while (dirent* e = readdir(d)) {
    char target[256] = {};
    std::string p = std::string("/proc/self/fd/") + e->d_name;
    if (readlink(p.c_str(), target, sizeof target - 1) > 0) out += std::string(e->d_name) + "=" + target + " ";
  }
  closedir(d);
  return out;
}

int CountThreads() {
  int n = 0;
  DIR* d = opendir("/proc/self/task");
  while (readdir(d)) ++n;
  closedir(d);
  return n;
}

class SerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ErrorLog().Clear();
    ASSERT_TRUE(unit.IsOk());
    port.SetOwnerWindow(window.Handle());
  }
  std::vector<intptr_t> Statuses() {
    std::vector<intptr_t> out;
    for (const auto& m : window.Messages(kPortStatusMessage)) out.push_back(m.wParam);
    return out;
  }
  bool OpenPort(uint32_t baud = 115200) { return port.Open(unit.SlavePath16(), baud, 8, 0, 0); }

  sim::SimUnit unit;
  platform::RecordingWindow window;
  VkcSerialPort port;
};

TEST_F(SerialPortTest, OpenConfiguresRawLineAndReportsStatus) {
  ASSERT_TRUE(port.Open(unit.SlavePath16(), 19200, 4, 0, 0));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(unit.LineRate(), 19200u);
  EXPECT_EQ(port.GetBaudRate(), 19200u);
  EXPECT_FALSE(port.GetDTR());
  EXPECT_TRUE(port.GetRTS());
  EXPECT_EQ(port.GetReplyTimeout(), 1500u);
  EXPECT_EQ(port.GetLongTimeout(), 5000u);
  termios t{};
  ASSERT_TRUE(unit.LineSettings(t));
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(t.c_cflag & (PARODD | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(t.c_iflag & (ICRNL | IXON | IXOFF), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u);
  std::u16string shortName;
  port.GetShortPortName(shortName);
  EXPECT_EQ(u"/dev/pts/" + shortName, unit.SlavePath16());
  EXPECT_TRUE(port.Close());
  EXPECT_FALSE(port.IsOpen());
  ASSERT_TRUE(port.Open(unit.SlavePath16(), 9600, 9, 1, 2));  // odd parity, two stop bits
  EXPECT_EQ(unit.LineRate(), 9600u);
  ASSERT_TRUE(unit.LineSettings(t));
  // A pty keeps 8 bits without parity whatever is asked; the stop bits and parity sense show.
  EXPECT_EQ(t.c_cflag & (PARODD | CSTOPB), static_cast<tcflag_t>(PARODD | CSTOPB));
  EXPECT_TRUE(port.Close());
  EXPECT_EQ(Statuses(), (std::vector<intptr_t>{1, 2, 1, 2}));
  EXPECT_TRUE(ErrorTexts().empty());
}

TEST_F(SerialPortTest, OpenFailuresAndAClosedPort) {
  EXPECT_TRUE(port.Close());  // never opened: nothing posted
  EXPECT_FALSE(port.Open(u"", 115200, 8, 0, 0));
  EXPECT_FALSE(port.Open(u"/dev/does-not-exist-modulink", 115200, 8, 0, 0));
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{"Com port name is empty",
                                                    "Unable to open port /dev/does-not-exist-modulink"}));
  EXPECT_EQ(ErrorLog().Entries()[1].code, static_cast<uint32_t>(ENOENT));
  EXPECT_EQ(Statuses(), (std::vector<intptr_t>{5, 5}));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.Write("x", 1, nullptr, -1, nullptr), -1);
  EXPECT_FALSE(port.SetBaudRate(9600));
  EXPECT_TRUE(port.Close());
  EXPECT_EQ(Statuses().size(), 2u);
}

TEST_F(SerialPortTest, SecondOpenOfTheSameDeviceIsRefused) {
  ASSERT_TRUE(OpenPort());
  VkcSerialPort other;
  other.SetOwnerWindow(window.Handle());
  EXPECT_FALSE(other.Open(unit.SlavePath16(), 115200, 8, 0, 0));
  EXPECT_TRUE(HasError("Unable to open port " + unit.SlavePath()));
  EXPECT_TRUE(port.IsOpen());
  port.Close();
  EXPECT_TRUE(other.Open(unit.SlavePath16(), 115200, 8, 0, 0));  // free again after the close
  EXPECT_EQ(Statuses(), (std::vector<intptr_t>{1, 5, 2, 1}));
}

TEST_F(SerialPortTest, ReceivedBytesArriveWholeInOrderInChunksOfAtMost100) {
  Collector c(port);
  ASSERT_TRUE(OpenPort());
  std::string all;
  for (int i = 0; i < 250; ++i) all.push_back(static_cast<char>(i));
  unit.Send(all);
  ASSERT_TRUE(c.WaitForSize(250, 5000));
  EXPECT_EQ(c.Data(), all);  // 0x0D, 0x11, 0x13 and 0x00 unchanged
  for (size_t n : c.Chunks()) EXPECT_LE(n, 100u);
  EXPECT_GE(c.Chunks().size(), 3u);
}

TEST_F(SerialPortTest, WriteSendsBytesUnchangedAndTellsOtherListeners) {
  Collector a(port), b(port);
  ASSERT_TRUE(OpenPort());
  unit.SetSilent(true);
  std::string bytes("AB\nC\r\x11\x13\x00Z", 9);
  EXPECT_EQ(port.Write(bytes.data(), static_cast<int>(bytes.size()), &a, -1, nullptr), 9);
  EXPECT_EQ(port.Write("text", -1, nullptr, 1000, nullptr), 4);
  ASSERT_TRUE(unit.WaitForReceived(bytes + "text", 2000));
  EXPECT_EQ(unit.Received(), bytes + "text");
  EXPECT_EQ(a.Sent(), "text");
  EXPECT_EQ(b.Sent(), bytes + "text");
}

TEST_F(SerialPortTest, EveryUnitRateReachesTheLine) {
  ASSERT_TRUE(OpenPort());
  for (uint32_t rate : {1200u, 2400u, 4800u, 9600u, 14400u, 19200u, 38400u, 57600u, 115200u}) {
    EXPECT_TRUE(port.SetBaudRate(rate)) << rate;
    EXPECT_EQ(unit.LineRate(), rate);
    EXPECT_EQ(port.GetBaudRate(), rate);
  }
  // Lines and flow control on a pseudo-terminal: the lines are unsupported, not failing.
  EXPECT_TRUE(port.SetDTR(true));
  EXPECT_TRUE(port.GetDTR());
  EXPECT_TRUE(port.SetRTS(false));
  EXPECT_FALSE(port.GetRTS());
  EXPECT_TRUE(port.SetFlowControl(1));
  EXPECT_EQ(port.GetFlowControl(), 1u);
  EXPECT_TRUE(port.SetFlowControl(0));
  EXPECT_EQ(port.GetModemStatus(), 0u);
  EXPECT_TRUE(port.SetBaudRate(14400));
  EXPECT_EQ(unit.LineRate(), 14400u);  // flow control changes keep a rate without a constant
  EXPECT_TRUE(port.SetFlowControl(2));
  EXPECT_EQ(unit.LineRate(), 14400u);
  EXPECT_TRUE(ErrorTexts().empty());
  // The unit hears a command at the rate set last.
  port.Write("X\r", -1, nullptr, -1, nullptr);
  ASSERT_TRUE(unit.WaitForCommands(1, 2000));
  EXPECT_EQ(unit.CommandRecords()[0].lineRate, 14400u);
  EXPECT_TRUE(port.Reopen());
  EXPECT_EQ(unit.LineRate(), 14400u);
}

TEST_F(SerialPortTest, HangUpIsReportedOnceAndTheOwnerCloses) {
  Collector c(port);
  ASSERT_TRUE(OpenPort());
  unit.HangUp();
  ASSERT_TRUE(window.WaitForMessage(kPortStatusMessage, kPortClosed, 5000));
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !port.IsOpen(); }, 2000));
  EXPECT_EQ(port.Write("x", 1, nullptr, -1, nullptr), -1);
  EXPECT_TRUE(HasError("ClearCommError returns FALSE Error = 5"));
  EXPECT_TRUE(port.Close());
  EXPECT_EQ(Statuses(), (std::vector<intptr_t>{1, 2}));
}

TEST_F(SerialPortTest, CloseWhileDataStreamsInAndFromAnotherThread) {
  Collector c(port);
  ASSERT_TRUE(OpenPort());
  std::atomic<bool> streaming{true};
  std::thread feeder([&] {
    while (streaming) {
      unit.Send(std::string(512, 'x'));
      platform::SleepMs(1);
    }
  });
  EXPECT_TRUE(c.WaitForSize(2000, 5000)) << c.Data().size() << " open " << port.IsOpen();
  std::thread closer([&] { EXPECT_TRUE(port.Close()); });
  closer.join();
  EXPECT_FALSE(port.IsOpen());
  size_t after = c.Data().size();
  platform::SleepMs(20);
  EXPECT_EQ(c.Data().size(), after);  // the reader has ended
  streaming = false;
  feeder.join();
  EXPECT_EQ(Statuses(), (std::vector<intptr_t>{1, 2}));
}

TEST_F(SerialPortTest, ThousandOpenCloseCyclesLeakNothing) {
  Collector c(port);
  ASSERT_TRUE(OpenPort());
  ASSERT_TRUE(port.Close());
  int fds = CountOpenFds();
  std::string before = FdList();
  int threads = CountThreads();
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(OpenPort()) << i;
    if (i % 100 == 0) unit.Send("ping");
    ASSERT_TRUE(port.Close());
  }
  EXPECT_EQ(CountOpenFds(), fds) << before << "\n" << FdList();
  EXPECT_EQ(CountThreads(), threads);
  EXPECT_EQ(window.Messages(kPortStatusMessage).size(), 2002u);
}

// A pty nobody reads fills up, so writes wait for room: the cancel event, the time-out and a
// close end them.
class StuckLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ErrorLog().Clear();
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    grantpt(master);
    unlockpt(master);
    path = ptsname(master);
    ASSERT_TRUE(port.Open(std::u16string(path.begin(), path.end()), 115200, 8, 0, 0));
  }
  void TearDown() override {
    port.Close();
    close(master);
  }
  int master = -1;
  std::string path;
  VkcSerialPort port;
  std::string big = std::string(1 << 20, 'y');
};

TEST_F(StuckLine, CancelEventEndsAWrite) {
  platform::Event cancel;
  std::thread t([&] {
    platform::SleepMs(50);
    cancel.Set();
  });
  EXPECT_EQ(port.Write(big.data(), static_cast<int>(big.size()), nullptr, -1, &cancel), -1);
  t.join();
  ASSERT_EQ(ErrorLog().Count(), 1u);
  EXPECT_EQ(ErrorLog().Entries()[0].text, "Write Operation failure");
  EXPECT_EQ(ErrorLog().Entries()[0].code, 1u);
}

TEST_F(StuckLine, TimeOutEndsAWriteWithACancelEvent) {
  platform::Event cancel;
  EXPECT_EQ(port.Write(big.data(), static_cast<int>(big.size()), nullptr, 50, &cancel), -1);
  ASSERT_EQ(ErrorLog().Count(), 1u);
  EXPECT_EQ(ErrorLog().Entries()[0].text, "Write Operation failure");
  EXPECT_EQ(ErrorLog().Entries()[0].code, platform::kWaitTimeout);
}

TEST_F(StuckLine, CloseEndsAWriteWithoutTimeOut) {
  std::atomic<int> result{1};
  std::thread t([&] { result = port.Write(big.data(), static_cast<int>(big.size()), nullptr, -1, nullptr); });
  platform::SleepMs(50);
  EXPECT_EQ(result.load(), 1);  // still waiting for room
  EXPECT_TRUE(port.Close());
  t.join();
  EXPECT_EQ(result.load(), -1);
}

}  // namespace

// A system that cannot give a thread: the port and the TCP client say so and fail, nothing throws.
TEST_F(SerialPortTest, AThreadThatCannotStartFailsTheOpen) {
  platform::WorkerThread::FailNextStartsForTesting(1);
  EXPECT_FALSE(OpenPort());
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{"Unable to start thread for port " + unit.SlavePath()}));
  EXPECT_EQ(Statuses(), (std::vector<intptr_t>{kPortOpenFailed}));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_TRUE(OpenPort()) << "the device was closed again";

  ErrorLog().Clear();
  platform::WorkerThread::FailNextStartsForTesting(1);
  VkcTCPClient client;
  EXPECT_FALSE(client.SetOwnerWindow(window.Handle()));
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{"Unable to start thread for TCP client controller"}));
}
