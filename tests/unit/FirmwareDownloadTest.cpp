// Firmware downloads end to end: the engine loads image files into the simulated unit over a
// pseudo-terminal, the unit restarts or is rebooted and is identified again.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "devices/VkcDeviceManager.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "platform/Timing.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimFirmware.h"
#include "sim/SimFirmwareImages.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"
#include "support/TestSupport.h"
#include "UnitTestText.h"
#include "unit/VkcFirmwareDownload.h"
#include "unit/VkcSystem.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint32_t kEndWaitMs = 120000;

class FirmwareDownload : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.25);
    ErrorLog().Clear();
    manager.RegisterPrototypes();
    system.Attach(&manager, &settings, [this] { return &port; });
  }
  void TearDown() override {
    download.reset();
    port.Close();
    firmware.reset();
    platform::SetTimeScale(1.0);
  }
  // A unit with software of major version `software`, identified once.
  void Start(const std::string& software, sim::SimFirmwareOptions options = {}) {
    sim::IdentOptions ident;
    ident.modelKey = "4";
    ident.software = software;
    identity = std::make_unique<sim::SimIdent>(unit, ident);
    files = std::make_unique<sim::SimUnitControlFiles>(unit);
    firmware = std::make_unique<sim::SimFirmware>(unit, options);
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    ASSERT_EQ(system.Process(VkcSystem::kOpIdentify, 0, platform::kNoWindow, idle), 0u);
    download = std::make_unique<VkcFirmwareDownload>(system, &manager);
  }
  std::string File(const std::string& name, const Bytes& bytes) {
    std::string path = dir.File(name);
    EXPECT_TRUE(sim::WriteFirmwareFile(path, bytes));
    return path;
  }
  // Runs a download of the file to its end message; returns the end's second parameter.
  intptr_t Run(const std::string& path) {
    window.Clear();
    EXPECT_TRUE(download->ReadImageFile(path));
    EXPECT_TRUE(download->Start(window.Handle(), nullptr));
    return WaitEnd();
  }
  intptr_t WaitEnd(uint32_t ms = kEndWaitMs) {
    EXPECT_TRUE(window.WaitForMessage(kMsgProgress, kProgressDownloadEnd, ms));
    download->Finish();
    for (const auto& m : window.Messages(kMsgProgress))
      if (m.wParam == kProgressDownloadEnd) return m.lParam;
    return -1;
  }
  std::vector<std::string> Words() {
    std::vector<std::string> out;
    for (const auto& l : firmware->Loads()) out.push_back(l.word);
    return out;
  }

  testsupport::TempDir dir;
  VkcDeviceManager manager;
  VkcConfiguration settings;
  platform::RecordingWindow window;
  platform::Event idle{platform::Event::ResetMode::Manual};
  std::unique_ptr<sim::SimIdent> identity;
  std::unique_ptr<sim::SimUnitControlFiles> files;
  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  std::unique_ptr<sim::SimFirmware> firmware;
  VkcSerialPort port;
  VkcSystem system;
  std::unique_ptr<VkcFirmwareDownload> download;
};

TEST_F(FirmwareDownload, ImageSetArrivesIntactAndIsSkippedWhenTheUnitHasIt) {
  Start("SW 2.5 Rev 3");
  const Bytes main = sim::MakeFirmwareImage(false, 4, 0xC0FFEE01, sim::FirmwarePayload(3001, 1));
  const Bytes first = sim::MakeFirmwareImage(true, 1, 0xC0FFEE01, sim::FirmwarePayload(1000, 2));
  const Bytes second = sim::MakeFirmwareImage(true, 1, 0xC0FFEE01, sim::FirmwarePayload(555, 3));
  const std::string path = File("set.cxmd", sim::MakeFirmwareContainer({main, first, second}));

  ASSERT_EQ(Run(path), VkcFirmwareDownload::kEndOk) << ::testing::PrintToString(unittext::ErrorTexts());
  EXPECT_EQ(Words(), (std::vector<std::string>{"FACTIMAGE", "NIMG", "NIMG"}));
  const std::vector<Bytes> sent = {main, first, second};
  for (size_t i = 0; i < sent.size(); ++i) {
    EXPECT_TRUE(firmware->Loads()[i].accepted);
    EXPECT_EQ(firmware->Loads()[i].image, sent[i]);
  }
  EXPECT_EQ(firmware->Restarts(), 3);
  EXPECT_EQ(download->StepsRun(), 9u);
  EXPECT_EQ(system.GetProductId(), 4);  // identified again after the last restart
  EXPECT_EQ(unittext::Clean(unit.Commands()).back(), "INFO BL");
  EXPECT_TRUE(window.WaitForMessage(kMsgProgress, kProgressMailbox, 0));

  // The unit now names this set: only the extra images go again.
  ASSERT_EQ(Run(path), VkcFirmwareDownload::kEndOk);
  EXPECT_EQ(Words(), (std::vector<std::string>{"FACTIMAGE", "NIMG", "NIMG", "NIMG", "NIMG"}));
}

TEST_F(FirmwareDownload, VersionOneUnitIsRebootedAfterItsImage) {
  sim::SimFirmwareOptions options;
  options.restartAfterMain = false;
  Start("SW 1.7 Rev 3", options);
  sim::RebootOptions reboot;
  reboot.bannerDelayMs = 1500;
  sim::InstallReboot(unit, reboot);
  const Bytes image = sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(777, 4));
  unit.ClearRecord();
  ASSERT_EQ(Run(File("one.xmd", image)), VkcFirmwareDownload::kEndOk)
      << ::testing::PrintToString(unittext::ErrorTexts());
  ASSERT_EQ(firmware->Loads().size(), 1u);
  EXPECT_EQ(firmware->Loads()[0].image, image);
  const std::vector<std::string> commands = unittext::Clean(unit.Commands());
  EXPECT_NE(std::find(commands.begin(), commands.end(), "BOOT"), commands.end());
  EXPECT_EQ(commands.back(), "INFO BL");
}

TEST_F(FirmwareDownload, StopCancelsTheTransferAndTheNextDownloadSucceeds) {
  sim::SimFirmwareOptions options;
  options.pacedRate = 115200;  // about 11 ms a block: the transfer is still running when Stop comes
  Start("SW 2.5 Rev 3", options);
  const std::string big = File("big.xmd", sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(200000, 5)));
  window.Clear();
  ASSERT_TRUE(download->ReadImageFile(big));
  ASSERT_TRUE(download->Start(window.Handle(), nullptr));
  ASSERT_TRUE(window.WaitFor(
      [](const std::vector<platform::PostedMessage>& ms) {
        for (const auto& m : ms)
          if (m.msg == kMsgProgress && m.wParam == kProgressPercent && m.lParam >= 10) return true;
        return false;
      },
      60000));
  download->RequestStop();
  EXPECT_EQ(WaitEnd(20000), VkcFirmwareDownload::kEndFailed);
  ASSERT_EQ(firmware->Loads().size(), 1u);
  EXPECT_TRUE(firmware->Loads()[0].cancelled);  // the unit left its receiver on CAN, not by time-out
  EXPECT_FALSE(firmware->InReceiver());

  const Bytes small = sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(400, 6));
  ASSERT_EQ(Run(File("small.xmd", small)), VkcFirmwareDownload::kEndOk)
      << ::testing::PrintToString(unittext::ErrorTexts());
  ASSERT_EQ(firmware->Loads().size(), 2u);
  EXPECT_EQ(firmware->Loads()[1].image, small);
}

TEST_F(FirmwareDownload, UnitVanishingMidTransferEndsTheDownloadSoon) {
  sim::SimFirmwareOptions options;
  options.pacedRate = 115200;
  Start("SW 2.5 Rev 3", options);
  const std::string big = File("big.xmd", sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(200000, 7)));
  window.Clear();
  ASSERT_TRUE(download->ReadImageFile(big));
  ASSERT_TRUE(download->Start(window.Handle(), nullptr));
  ASSERT_TRUE(window.WaitForMessage(kMsgProgress, kProgressPercent, 60000));
  const auto t0 = std::chrono::steady_clock::now();
  unit.HangUp();
  port.Close();  // what the port's owner does when the port reports the device gone
  EXPECT_EQ(WaitEnd(60000), VkcFirmwareDownload::kEndFailed);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10));
}

TEST_F(FirmwareDownload, UnitOffItsCommandLineEndsBeforeAnyImage) {
  Start("SW 2.5 Rev 3");
  const std::string path = File("one.xmd", sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(300, 8)));
  control.SetUnanswered("DD");
  EXPECT_EQ(Run(path), VkcFirmwareDownload::kEndNoCommandMode);
  EXPECT_TRUE(firmware->Loads().empty());
}

}  // namespace
