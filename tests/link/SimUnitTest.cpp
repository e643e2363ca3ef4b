// The simulated unit itself, driven over its pseudo-terminal by plain reads and writes, so the
// end-to-end tests of the link layer rest on a unit whose behaviour is checked on its own.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <mutex>
#include <string>

#include "platform/Timing.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimUnit.h"

namespace {

class RawSide {
 public:
  explicit RawSide(const std::string& path, speed_t speed = B115200) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    tcgetattr(fd_, &t);
    cfmakeraw(&t);
    cfsetspeed(&t, speed);
    tcsetattr(fd_, TCSANOW, &t);
  }
  ~RawSide() {
    if (fd_ >= 0) close(fd_);
  }
  int fd() const { return fd_; }
  void Write(const std::string& s) { ASSERT_EQ(write(fd_, s.data(), s.size()), (ssize_t)s.size()); }
  // Reads until text has arrived or ms pass; returns everything read.
  std::string ReadUntil(const std::string& text, int ms) {
    uint64_t end = platform::NowMs() + ms;
    while (got_.find(text) == std::string::npos && platform::NowMs() < end) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 10) > 0) {
        char buf[256];
        ssize_t n = read(fd_, buf, sizeof buf);
        if (n > 0) got_.append(buf, static_cast<size_t>(n));
        if (n <= 0 && (p.revents & POLLHUP)) {
          hungUp = true;
          break;
        }
      }
    }
    std::string out;
    out.swap(got_);
    return out;
  }
  bool hungUp = false;

 private:
  int fd_ = -1;
  std::string got_;
};

TEST(SimUnit, EchoesAnswersAndRecordsCommands) {
  sim::SimUnit unit;
  ASSERT_TRUE(unit.IsOk());
  unit.SetAnswer("INFO SW", "SW 2.5 Rev C@00\r\n");
  unit.AddCommandHandler("RADIO", [](sim::SimUnit& u, const std::string&) { u.Answer("radio"); });
  unit.AddCommandHandler("RADIO CH", [](sim::SimUnit& u, const std::string&) { u.Answer("7"); });
  RawSide side(unit.SlavePath());
  side.Write("INFO SW\r");
  EXPECT_EQ(side.ReadUntil("CLI>", 2000), "INFO SW\r\nSW 2.5 Rev C@00\r\n\r\nCLI>");
  side.Write("RADIO CH\r");
  EXPECT_EQ(side.ReadUntil("CLI>", 2000), "RADIO CH\r\n7@00\r\n\r\nCLI>");  // longest prefix
  side.Write("RADIO X\r");
  EXPECT_EQ(side.ReadUntil("CLI>", 2000), "RADIO X\r\nradio@00\r\n\r\nCLI>");
  side.Write("\nNOPE\r");
  EXPECT_EQ(side.ReadUntil("CLI>", 2000), "\nNOPE\r\n@01\r\n\r\nCLI>");
  side.Write("\r");
  EXPECT_EQ(side.ReadUntil("CLI>", 2000), "\r\n\r\nCLI>");
  EXPECT_EQ(unit.Commands(), (std::vector<std::string>{"INFO SW", "RADIO CH", "RADIO X", "\nNOPE", ""}));
  EXPECT_EQ(unit.Received(), "INFO SW\rRADIO CH\rRADIO X\r\nNOPE\r\r");
}

TEST(SimUnit, SeesTheRateTheProgramSetAndRefusesAWrongOne) {
  sim::SimUnit unit;
  unit.SetUnitRate(9600);
  unit.SetRateCheck(true);
  RawSide side(unit.SlavePath(), B19200);
  EXPECT_EQ(unit.LineRate(), 19200u);
  side.Write("INFO SW\r");
  EXPECT_TRUE(unit.WaitForReceived("INFO SW\r", 2000));
  EXPECT_EQ(side.ReadUntil("CLI>", 200), "");
  EXPECT_EQ(unit.CommandCount(), 0u);
  termios t{};
  tcgetattr(side.fd(), &t);
  cfsetspeed(&t, B9600);
  tcsetattr(side.fd(), TCSANOW, &t);
  side.Write("X\r");
  EXPECT_EQ(side.ReadUntil("CLI>", 2000), "X\r\n@01\r\n\r\nCLI>");
  ASSERT_EQ(unit.CommandRecords().size(), 1u);
  EXPECT_EQ(unit.CommandRecords()[0].lineRate, 9600u);
}

TEST(SimUnit, FaultHooksShapeTheOutput) {
  sim::SimUnit unit;
  RawSide side(unit.SlavePath());
  unit.SetEchoMode(sim::EchoMode::None);
  side.Write("A\r");
  EXPECT_EQ(side.ReadUntil("CLI>", 2000), "@01\r\n\r\nCLI>");
  unit.SetEchoMode(sim::EchoMode::Split, 30);
  unit.SetOmitPrompt(true);
  side.Write("ABCDEF\r");
  EXPECT_EQ(side.ReadUntil("@01\r\n", 2000), "ABCDEF\r\n@01\r\n");
  unit.SetOmitPrompt(false);
  unit.SetEchoMode(sim::EchoMode::Normal);
  unit.DropOutput(3);
  side.Write("B\r");
  EXPECT_EQ(side.ReadUntil("CLI>", 2000), "@01\r\n\r\nCLI>");
  unit.GarbleOutput(1);
  side.Write("C\r");
  std::string g = side.ReadUntil("CLI>", 2000);
  EXPECT_NE(g.substr(0, 1), "C");
  EXPECT_EQ(g.substr(1), "\r\n@01\r\n\r\nCLI>");
  unit.SetSilent(true);
  side.Write("D\r");
  EXPECT_TRUE(unit.WaitForCommands(4, 2000));
  EXPECT_EQ(side.ReadUntil("CLI>", 150), "");
}

TEST(SimUnit, RawTriggersRawInputAndReboot) {
  sim::SimUnit unit;
  sim::InstallReboot(unit, {.bannerDelayMs = 10, .rateAfter = 19200});
  unit.AddRawTrigger("####", [](sim::SimUnit& u, const std::string&) { u.Send("@00\r\n"); });
  RawSide side(unit.SlavePath());
  side.Write("####");
  EXPECT_EQ(side.ReadUntil("@00\r\n", 2000), "####@00\r\n");
  side.Write("\rBOOT IMAGE 8\r");
  std::string banner = side.ReadUntil("Real Time kernel started\r\n\r\nCLI>", 2000);
  EXPECT_NE(banner.find("BOOT IMAGE 8\r\n"), std::string::npos);
  EXPECT_EQ(unit.UnitRate(), 19200u);
  // The switch to raw input takes effect within the chunk that carried the command.
  struct Taken {
    std::mutex m;
    std::string bytes;
  } taken;
  unit.AddCommandHandler("XFER", [&taken](sim::SimUnit& u, const std::string&) {
    u.SetRawInput([&taken](sim::SimUnit& u2, const uint8_t* d, size_t n) {
      std::lock_guard<std::mutex> g(taken.m);
      taken.bytes.append(reinterpret_cast<const char*>(d), n);
      if (taken.bytes.size() >= 3) {
        u2.SetRawInput(nullptr);
        u2.Send("\x06");
      }
    });
  });
  side.Write(std::string("XFER\r\x01\r\x02", 8));
  EXPECT_EQ(side.ReadUntil("\x06", 2000), "XFER\r\n\x06");
  {
    std::lock_guard<std::mutex> g(taken.m);
    EXPECT_EQ(taken.bytes, std::string("\x01\r\x02", 3));
  }
  side.Write("Q\r");
  EXPECT_EQ(side.ReadUntil("CLI>", 2000), "Q\r\n@01\r\n\r\nCLI>");
}

TEST(SimUnit, PacedOutputTricklesAtTheLineRate) {
  sim::SimUnit unit;
  RawSide side(unit.SlavePath(), B1200);
  unit.SetPaced(true);
  unit.Send("0123456789012345");  // 120 bytes per second: a byte every few milliseconds
  std::string got;
  int reads = 0;
  while (got.size() < 16) {
    pollfd p{side.fd(), POLLIN, 0};
    ASSERT_GT(poll(&p, 1, 2000), 0);
    char buf[64];
    ssize_t n = read(side.fd(), buf, sizeof buf);
    if (n > 0) {
      got.append(buf, static_cast<size_t>(n));
      ++reads;
    }
  }
  EXPECT_EQ(got, "0123456789012345");
  EXPECT_GE(reads, 4);
}

TEST(SimUnit, HangUpEndsTheLine) {
  sim::SimUnit unit;
  RawSide side(unit.SlavePath());
  unit.HangUp();
  side.ReadUntil("never", 1000);
  EXPECT_TRUE(side.hungUp);
  EXPECT_EQ(unit.LineRate(), 0u);
}

}  // namespace
