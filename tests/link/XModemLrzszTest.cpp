// Our XModem against lrzsz, an independent implementation, joined by a socket pair.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include "link/VkcXModemProtocol.h"
#include "link/VkcSerialPort.h"
#include "sim/SimXmodPeer.h"
#include "sim/SimXmodRelay.h"
#include "sim/SimXmodPump.h"
#include "support/TestSupport.h"

namespace {

using sim::SimXmodPeer;
using sim::SimXmodPump;

std::vector<uint8_t> Pattern(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

std::vector<uint8_t> Padded(std::vector<uint8_t> v) {
  while (v.size() % 128) v.push_back(0x1A);
  return v;
}

}  // namespace

TEST(XModemLrzsz, OurSenderToRxInCrcAndChecksumMode) {
  for (bool crc : {true, false}) {
    testsupport::TempDir dir;
    auto data = Pattern(300 * 128 + 50, crc ? 11 : 12);  // past the block-number wrap
    SimXmodPeer peer;
    int fd = -1;
    VkcXModemProtocol x([&](const uint8_t* d, size_t n) { return SimXmodPump::WriteAll(fd, d, n); });
    ASSERT_TRUE(x.BeginSend());  // before rx starts: it asks only once for a long while
    std::vector<std::string> argv = {"/usr/bin/rx", "-X", "-q"};
    if (crc) argv.push_back("-c");
    argv.push_back("out");
    ASSERT_TRUE(peer.Start(argv, dir.Path()));
    fd = peer.Fd();
    SimXmodPump pump;
    pump.Start(fd, [&](const uint8_t* d, size_t n) { x.OnBytes(d, n); });
    bool ok = true;
    for (size_t at = 0; ok && at < data.size(); at += 128) {
      uint8_t block[128];
      std::memset(block, 0x1A, 128);
      std::memcpy(block, data.data() + at, std::min<size_t>(128, data.size() - at));
      ok = x.SendBlock(block, 5000, nullptr);
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(x.IsCrcMode(), crc);
    ASSERT_TRUE(x.FinishSend(5000, nullptr));
    EXPECT_EQ(peer.Wait(10000), 0);
    pump.Stop();
    EXPECT_EQ(ReadFile(dir.File("out")), Padded(data)) << (crc ? "crc" : "checksum");
  }
}

TEST(XModemLrzsz, SxToOurReceiver) {
  testsupport::TempDir dir;
  auto data = Pattern(260 * 128 + 3, 13);
  {
    std::ofstream f(dir.File("src"), std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  }
  SimXmodPeer peer;
  ASSERT_TRUE(peer.Start({"/usr/bin/sx", "-X", "-q", "src"}, dir.Path()));
  int fd = peer.Fd();
  VkcXModemProtocol x([&](const uint8_t* d, size_t n) { return SimXmodPump::WriteAll(fd, d, n); });
  SimXmodPump pump;
  pump.Start(fd, [&](const uint8_t* d, size_t n) { x.OnBytes(d, n); });
  x.BeginReceive();
  std::vector<uint8_t> got;
  uint8_t block[128];
  for (;;) {
    ASSERT_TRUE(x.ReceiveBlock(block, 5000, nullptr));
    if (x.GetState() == VkcXModemProtocol::kEnded) break;
    got.insert(got.end(), block, block + 128);
  }
  x.End();
  EXPECT_FALSE(x.IsCrcMode());
  EXPECT_EQ(peer.Wait(10000), 0);
  pump.Stop();
  EXPECT_EQ(got, Padded(data));
}

TEST(XModemLrzsz, CancelFromEitherSide) {
  testsupport::TempDir dir;
  {  // our receiver cancels: sx gives up
    std::ofstream f(dir.File("src"), std::ios::binary);
    auto data = Pattern(50 * 128, 14);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  }
  SimXmodPeer sx;
  ASSERT_TRUE(sx.Start({"/usr/bin/sx", "-X", "-q", "src"}, dir.Path()));
  int fd = sx.Fd();
  VkcXModemProtocol x([&](const uint8_t* d, size_t n) { return SimXmodPump::WriteAll(fd, d, n); });
  SimXmodPump pump;
  pump.Start(fd, [&](const uint8_t* d, size_t n) { x.OnBytes(d, n); });
  x.BeginReceive();
  uint8_t block[128];
  ASSERT_TRUE(x.ReceiveBlock(block, 5000, nullptr));
  ASSERT_TRUE(x.ReceiveBlock(block, 5000, nullptr));
  x.Cancel();
  x.End();
  int sxEnd = sx.Wait(15000);
  EXPECT_TRUE(sxEnd != 0 && sxEnd != -1) << "sx ended by itself, failing: " << sxEnd;
  pump.Stop();

  // our sender cancels while rx waits for a block: rx gives up
  SimXmodPeer rx;
  VkcXModemProtocol tx([&](const uint8_t* d, size_t n) { return SimXmodPump::WriteAll(rx.Fd(), d, n); });
  ASSERT_TRUE(tx.BeginSend());
  ASSERT_TRUE(rx.Start({"/usr/bin/rx", "-X", "-q", "-c", "out2"}, dir.Path()));
  SimXmodPump pump2;
  pump2.Start(rx.Fd(), [&](const uint8_t* d, size_t n) { tx.OnBytes(d, n); });
  auto data = Pattern(128, 15);
  ASSERT_TRUE(tx.SendBlock(data.data(), 5000, nullptr));
  ASSERT_TRUE(tx.SendBlock(data.data(), 5000, nullptr));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // rx has answered and waits
  tx.Cancel();
  tx.End();
  int rxEnd = rx.Wait(15000);
  EXPECT_TRUE(rxEnd != 0 && rxEnd != -1) << "rx ended by itself, failing: " << rxEnd;
  pump2.Stop();
}

// The same, with our engine on our serial port over a pseudo-terminal whose far side is relayed to
// lrzsz (which never sees the terminal, so it cannot change our port's settings).
TEST(XModemLrzsz, ThroughOurSerialPortBothWays) {
  testsupport::TempDir dir;
  for (bool crc : {true, false}) {
    auto data = Pattern(270 * 128 + 9, crc ? 21 : 22);
    sim::SimXmodRelay relay;
    ASSERT_TRUE(relay.IsOk());
    VkcSerialPort port;
    ASSERT_TRUE(port.Open(relay.SlavePath16(), 115200, 8, 0, 0));
    VkcXModemProtocol x(&port);
    ASSERT_TRUE(x.BeginSend());
    SimXmodPeer rx;
    std::string out = crc ? "crc.bin" : "sum.bin";
    std::vector<std::string> argv = {"/usr/bin/rx", "-X", "-q"};
    if (crc) argv.push_back("-c");
    argv.push_back(out);
    ASSERT_TRUE(rx.Start(argv, dir.Path()));
    relay.Start(rx.Fd());
    bool ok = true;
    for (size_t at = 0; ok && at < data.size(); at += 128) {
      uint8_t block[128];
      std::memset(block, 0x1A, 128);
      std::memcpy(block, data.data() + at, std::min<size_t>(128, data.size() - at));
      ok = x.SendBlock(block, 5000, nullptr);
    }
    ASSERT_TRUE(ok);
    ASSERT_TRUE(x.FinishSend(5000, nullptr));
    EXPECT_EQ(rx.Wait(10000), 0);
    relay.Stop();
    port.Close();
    EXPECT_EQ(ReadFile(dir.File(out)), Padded(data)) << (crc ? "crc" : "checksum");
  }
  auto data = Pattern(200 * 128 + 100, 23);
  {
    std::ofstream f(dir.File("src"), std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  }
  sim::SimXmodRelay relay;
  VkcSerialPort port;
  ASSERT_TRUE(port.Open(relay.SlavePath16(), 115200, 8, 0, 0));
  VkcXModemProtocol x(&port);
  SimXmodPeer sx;
  ASSERT_TRUE(sx.Start({"/usr/bin/sx", "-X", "-q", "src"}, dir.Path()));
  relay.Start(sx.Fd());
  x.BeginReceive();
  std::vector<uint8_t> got;
  uint8_t block[128];
  for (;;) {
    ASSERT_TRUE(x.ReceiveBlock(block, 5000, nullptr));
    if (x.GetState() == VkcXModemProtocol::kEnded) break;
    got.insert(got.end(), block, block + 128);
  }
  x.End();
  EXPECT_EQ(sx.Wait(10000), 0);
  relay.Stop();
  EXPECT_EQ(got, Padded(data));
}
