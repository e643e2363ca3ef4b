// Identification end to end: the device manager's sweep over a real serial port (a pseudo-terminal)
// against the simulated unit.

#include <gtest/gtest.h>

#include <algorithm>

#include "devices/VkcDeviceManager.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcSerialPort.h"
#include "platform/Event.h"
#include "platform/Timing.h"
#include "platform/WorkerThread.h"
#include "sim/SimIdent.h"
#include "sim/SimMcu.h"
#include "sim/SimUnit.h"

namespace {

using sim::IdentOptions;

class IdentifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.1);
    ErrorLog().Clear();
    manager_.RegisterPrototypes();
  }
  void TearDown() override {
    port_.Close();
    platform::SetTimeScale(1.0);
  }

  void Start(const IdentOptions& options) {
    ident_ = std::make_unique<sim::SimIdent>(unit_, options);
    ASSERT_TRUE(unit_.IsOk());
    ASSERT_TRUE(port_.Open(unit_.SlavePath16(), 115200, 8, 0, 0));
  }

  int Detect(platform::Event* stop = nullptr) { return manager_.DetectModel(&port_, nullptr, window_.Handle(), stop); }

  // The lines of the identification log, as the window received them.
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    std::string text = manager_.GetLog().TakeTextUtf8();
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find("\r\n", at);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }

  size_t ErrorCount(const std::string& prefix) {
    size_t n = 0;
    for (const ErrorEntry& e : ErrorLog().Entries()) n += e.text.rfind(prefix, 0) == 0;
    return n;
  }

  VkcDeviceManager manager_;
  platform::RecordingWindow window_;
  std::unique_ptr<sim::SimIdent> ident_;  // outlives the unit's thread
  sim::SimUnit unit_;
  VkcSerialPort port_;
};

struct FamilyCase {
  const char* family;
  IdentOptions::Code code;
  const char* key;
  int expected;
};
void PrintTo(const FamilyCase& c, std::ostream* os) { *os << c.family; }

class IdentifyFamilies : public IdentifyTest, public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(IdentifyFamilies, AnswersAtTheFirstRate) {
  IdentOptions options;
  options.code = GetParam().code;
  options.modelKey = GetParam().key;
  Start(options);
  EXPECT_EQ(Detect(), GetParam().expected);
  std::vector<std::string> lines = LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "Trying 115200");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Device detected"), 0);
  if (GetParam().expected == kDetectStartup) {
    EXPECT_EQ(lines.back(), "Startup code detected");
  }
  EXPECT_EQ(ErrorCount("Could not switch"), 0u);
  const VkcDevice* device = manager_.GetDevice(GetParam().expected);
  ASSERT_NE(device, nullptr);
}

TEST_P(IdentifyFamilies, WalksDownToALowRate) {
  IdentOptions options;
  options.code = GetParam().code;
  options.modelKey = GetParam().key;
  options.commandRate = 19200;
  Start(options);
  EXPECT_EQ(Detect(), GetParam().expected);
  std::vector<std::string> lines = LogLines();
  if (GetParam().expected == kDetectStartup) lines.pop_back();
  EXPECT_EQ(lines, (std::vector<std::string>{"Trying 115200", "Trying 57600", "Trying 38400", "Trying 19200"}));
  EXPECT_EQ(ErrorCount("Could not switch"), 3u);
  EXPECT_EQ(port_.GetBaudRate(), 19200u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFamily, IdentifyFamilies,
    ::testing::Values(FamilyCase{"Transceiver", IdentOptions::Code::Main, "6", 6},
                      FamilyCase{"HighPower", IdentOptions::Code::Main, "3", 3},
                      FamilyCase{"Bluetooth", IdentOptions::Code::Main, "48", 48},
                      FamilyCase{"Gsm", IdentOptions::Code::Main, "49", 49},
                      FamilyCase{"Receiver", IdentOptions::Code::Main, "2", 2},
                      FamilyCase{"LBand", IdentOptions::Code::Main, "36", 36},
                      FamilyCase{"Beacon", IdentOptions::Code::Main, "69", 69},
                      FamilyCase{"BeaconUnit", IdentOptions::Code::Main, "3601", 3601},
                      FamilyCase{"Topcon", IdentOptions::Code::Main, "22", 22},
                      FamilyCase{"Startup", IdentOptions::Code::Startup, "48", kDetectStartup},
                      FamilyCase{"BootLoader", IdentOptions::Code::BootLoader, "48", -2}),
    [](const ::testing::TestParamInfo<FamilyCase>& info) { return std::string(info.param.family); });

TEST_F(IdentifyTest, WalksDownToTheUnitsRate) {
  IdentOptions options;
  options.modelKey = "57";
  options.commandRate = 9600;
  Start(options);
  EXPECT_EQ(Detect(), 57);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Trying 115200", "Trying 57600", "Trying 38400", "Trying 19200",
                                                  "Trying 14400", "Trying 9600"}));
  std::vector<std::string> errors;
  for (const ErrorEntry& e : ErrorLog().Entries()) {
    if (e.text != "No Escape Response") errors.push_back(e.text);
  }
  EXPECT_EQ(errors, (std::vector<std::string>{
                        "Could not switch to command mode on b8 diDirect ", "Could not switch to command mode on b7 diDirect ",
                        "Could not switch to command mode on b6 diDirect ", "Could not switch to command mode on b5 diDirect ",
                        "Could not switch to command mode on b4 diDirect "}));
  EXPECT_EQ(port_.GetBaudRate(), 9600u);
}

TEST_F(IdentifyTest, EscapesDataModeAndWalksTheMaintenanceRates) {
  IdentOptions options;
  options.modelKey = "111";
  options.startInDataMode = true;
  options.dataRate = 115200;
  options.commandRate = 38400;
  Start(options);
  EXPECT_EQ(Detect(), 111);
  EXPECT_FALSE(ident_->InDataMode());
  // The first attempt goes out at the rate the escape was heard at; then 115200, 57600, 38400.
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Trying 115200", "MPORT rate 115200", "MPORT rate 57600",
                                                  "MPORT rate 38400", "Device detected"}));
  EXPECT_EQ(ErrorCount("Could not switch"), 0u);
}

TEST_F(IdentifyTest, TheMcuProbeMaySendTheRadioToDataMode) {
  IdentOptions options;
  options.modelKey = "4";
  options.datamodeViaProbe = true;
  Start(options);
  EXPECT_EQ(Detect(), 4);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Trying 115200", "Device detected"}));
}

TEST_F(IdentifyTest, StartupCodeAfterTheEscape) {
  IdentOptions options;
  options.code = IdentOptions::Code::Startup;
  options.startInDataMode = true;
  Start(options);
  EXPECT_EQ(Detect(), kDetectStartup);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Trying 115200", "Startup code detected"}));
}

TEST_F(IdentifyTest, LastMaintenanceRateIsTriedToo) {
  IdentOptions options;
  options.modelKey = "12";
  options.startInDataMode = true;
  options.commandRate = 1200;
  Start(options);
  EXPECT_EQ(Detect(), 12);
  std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "MPORT rate 1200");
  EXPECT_EQ(lines.back(), "Device detected");
}

TEST_F(IdentifyTest, SilentUnitTriesEveryRateOfEveryInterface) {
  platform::SetTimeScale(0.02);
  IdentOptions options;
  options.code = IdentOptions::Code::Startup;
  Start(options);
  unit_.SetSilent(true);
  EXPECT_EQ(Detect(), kDetectNoAnswer);
  std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines.front(), "Trying 115200");
  EXPECT_EQ(lines[8], "Trying 1200");
  EXPECT_EQ(lines[9], "Trying 115200");
  EXPECT_EQ(ErrorCount("Could not switch to command mode on b"), 18u);
  EXPECT_EQ(ErrorLog().Entries().back().text, "Could not switch to command mode on b0 diThrough Quorl GPS receiver ");
  // Percentages rise and stay within 100.
  intptr_t last = 0;
  for (const platform::PostedMessage& m : window_.Messages(kMsgProgress)) {
    if (m.wParam != kProgressPercent) continue;
    EXPECT_GE(m.lParam, last);
    EXPECT_LE(m.lParam, 100);
    last = m.lParam;
  }
}

TEST_F(IdentifyTest, StopSetBeforehandTriesOneRate) {
  IdentOptions options;
  Start(options);
  unit_.SetSilent(true);
  platform::Event stop(platform::Event::ResetMode::Manual, true);
  EXPECT_EQ(Detect(&stop), kDetectNoAnswer);
  EXPECT_EQ(LogLines(), std::vector<std::string>{"Trying 115200"});
  EXPECT_EQ(ErrorCount("Could not switch"), 1u);
}

TEST_F(IdentifyTest, SilentUnitStopsWithinASecondOfItsStopEvent) {
  platform::SetTimeScale(1.0);
  IdentOptions options;
  Start(options);
  unit_.SetSilent(true);
  platform::Event stop;
  std::atomic<int> result{0};
  platform::WorkerThread worker;
  worker.Start([&](platform::Event&) { result = Detect(&stop); });
  // Let the sweep get into its waits, then stop it.
  platform::Event pause;
  pause.Wait(2500);
  const uint64_t setAt = platform::NowMs();
  stop.Set();
  EXPECT_TRUE(worker.Join(5000, [] {}));
  EXPECT_LT(platform::NowMs() - setAt, 1000u);
  EXPECT_EQ(result.load(), kDetectNoAnswer);
}

TEST_F(IdentifyTest, ProbeModelIdReadsOnlyWhatArrived) {
  IdentOptions options;
  Start(options);
  unit_.SetAnswer("INFO ID", "@00\r\n");  // no id at all
  EXPECT_EQ(manager_.ProbeModelId(&port_, 0, nullptr), kDetectNoAnswer);
  unit_.SetAnswer("INFO ID", "INFO ID\r\n-2\r\n@00\r\n");
  EXPECT_EQ(manager_.ProbeModelId(&port_, 0, nullptr), -2);
}

}  // namespace
