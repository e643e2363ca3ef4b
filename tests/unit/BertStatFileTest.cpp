// The BERT statistics file, byte for byte, and the transmit frame and pause arithmetic.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/Files.h"
#include "support/TestSupport.h"
#include "unit/BertStatFile.h"
#include "unit/BertTxTiming.h"

namespace {

std::string Read(const std::string& path) {
  std::vector<uint8_t> bytes;
  platform::ReadWholeFile(path, bytes, 1 << 20);
  return std::string(bytes.begin(), bytes.end());
}

class BertFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    savedTz_ = tz ? tz : "";
    hadTz_ = tz != nullptr;
    setenv("TZ", "UTC", 1);
    tzset();
    info.serial = "00-1A-2B-3C-4D-5E";
    info.when = 1717491907;  // Tuesday, June 04, 2024, 09:05:07 UTC
    info.modulation = "16QAM";
    info.spacingKHz = 12.5;
    info.frequencyMHz = 450.00625;
  }
  void TearDown() override {
    if (hadTz_) setenv("TZ", savedTz_.c_str(), 1); else unsetenv("TZ");
    tzset();
  }

  BertHeaderInfo info;
  testsupport::TempDir dir;
  std::string savedTz_;
  bool hadTz_ = false;
};

TEST_F(BertFile, ScriptedRunsAppendHeadersAndRowsExactly) {
  const std::string path = dir.File("bert.txt");
  // First run, transmit: a new file starts with the header.
  ASSERT_TRUE(bertfile::WriteHeader(path, bertfile::TransmitHeader(info), nullptr));
  BertStatistics copy, now;
  now.elapsedSeconds = 7;
  now.bitsSent = 53824;
  now.framesSent = 3364;
  now.rate = 7689.9;
  now.temperature = 31;
  ASSERT_TRUE(bertfile::AppendRow(path, bertfile::TransmitRow(now, copy), nullptr));
  copy = now;
  now.elapsedSeconds = 14;
  now.bitsSent = 5000000000ull;  // past 32 bits: plain 64-bit numbers
  now.framesSent = 312500000ull;
  ASSERT_TRUE(bertfile::AppendRow(path, bertfile::TransmitRow(now, copy), nullptr));
  // Second run, receive: four line ends keep the runs apart.
  ASSERT_TRUE(bertfile::WriteHeader(path, bertfile::ReceiveHeader(info), nullptr));
  BertStatistics rx;
  rx.elapsedSeconds = 7;
  rx.bitsReceived = 53760;
  rx.bytesReceived = 6720;
  rx.bitErrors = 1;
  rx.rate = 7680;
  rx.temperature = 31;
  rx.rssi = -87;
  ASSERT_TRUE(bertfile::AppendRow(path, bertfile::ReceiveRow(rx, BertStatistics{}, bertfile::BitErrorRate(rx)), nullptr));
  BertStatistics silent = rx;
  silent.elapsedSeconds = 14;
  silent.bitErrors = 0;
  ASSERT_TRUE(bertfile::AppendRow(path, bertfile::ReceiveRow(silent, rx, 0.0), nullptr));
  EXPECT_EQ(Read(path),
            "BER Test for 00-1A-2B-3C-4D-5E\r\n"
            "On Tuesday, June 04, 2024, 09:05:07\r\n"
            "Modulation: 16QAM\r\n"
            "Channel Spacing: 12.5 kHz\r\n"
            "Frequency: 450.006 MHz\r\n"
            "Sec.\tBits\tFrames\tRate\tTemperature\r\n"
            "7\t53824\t3364\t7689\t31\r\n"
            "14\t4999946176\t312496636\t7689\t31\r\n"
            "\r\n\r\n\r\n\r\n"
            "BER Test for 00-1A-2B-3C-4D-5E\r\n"
            "On Tuesday, June 04, 2024, 09:05:07\r\n"
            "Channel Spacing: 12.5 kHz\r\n"
            "Frequency: 450.006 MHz\r\n\r\n"
            "Sec.\tBits\tFrames\tRate\tTemperature\tRSL\tBER\r\n"
            "7\t53760\t6720\t7680\t31\t-87\t1.9E-05\r\n"
            "14\t0\t0\t7680\t31\t-87\t0.0E+00\r\n");
}

TEST_F(BertFile, EmptyFilesAreSeparatedAndMissingFilesGetNoRows) {
  const std::string path = dir.File("empty.txt");
  { platform::WriteFileAtomic(path, {}); }
  ASSERT_TRUE(bertfile::WriteHeader(path, "H\r\n", nullptr));
  EXPECT_EQ(Read(path), "\r\n\r\n\r\n\r\nH\r\n");
  // A row never creates the file: the row is lost with a message naming the file.
  std::string error;
  ::unlink(path.c_str());
  EXPECT_FALSE(bertfile::AppendRow(path, "1\r\n", &error));
  EXPECT_EQ(error, path + ": No such file or directory");
  EXPECT_FALSE(bertfile::WriteHeader(dir.File("no/such/folder.txt"), "H\r\n", &error));
}

TEST(BertBer, RateFormatsFromSixtyFourBitCounters) {
  BertStatistics s;
  s.bitsReceived = 1600000;
  s.bitErrors = 3;
  EXPECT_EQ(bertfile::FormatBer(bertfile::BitErrorRate(s)), "1.9E-06");
  s.bitsReceived = (1ull << 32) + 1600000;  // a wrapped 32-bit count would give a wrong rate
  s.bitErrors = 4295;
  EXPECT_EQ(bertfile::FormatBer(bertfile::BitErrorRate(s)), "1.0E-06");
  EXPECT_EQ(bertfile::FormatBer(bertfile::BitErrorRate(BertStatistics{})), "0.0E+00");
}

TEST(BertTiming, FramesAndPausesMeetTheDutyCycle) {
  struct Case {
    int m;
    float s;
    bool interval;
    int duty, intervalMs;
    uint32_t baud;
    BertTxTiming expected;
  };
  const Case cases[] = {
      {1, 4, false, 100, 0, 115200, {951, 0, 100}},
      {1, 4, false, 50, 0, 115200, {475, 958, 50}},
      {1, 4, false, 50, 0, 9600, {475, 505, 50}},
      {1, 4, false, 99, 0, 9600, {942, 18, 99}},
      {1, 4, false, 10, 0, 1200, {95, 208, 10}},
      {1, 4, true, 0, 500, 115200, {58, 958, 50}},
      {1, 4, true, 0, 1000, 115200, {58, 1000, 0}},
      // A frame longer than a second on the line has no pause rather than one of 49 days.
      {3, 4, false, 50, 0, 19200, {4283, 0, 50}},
      {4, 4, true, 0, 100, 9600, {232, 0, 90}},
      // No line rate (a TCP gateway): the whole second.
      {1, 4, false, 50, 0, 0, {475, 1000, 50}},
  };
  for (const Case& c : cases) {
    BertTxTiming t = ComputeBertTxTiming(c.m, c.s, c.interval, c.duty, c.intervalMs, c.baud);
    EXPECT_EQ(t.frameSize, c.expected.frameSize) << c.m << " " << c.duty << " " << c.intervalMs << " " << c.baud;
    EXPECT_EQ(t.pauseMs, c.expected.pauseMs) << c.m << " " << c.duty << " " << c.intervalMs << " " << c.baud;
    EXPECT_EQ(t.shownDuty, c.expected.shownDuty);
  }
}

}  // namespace
