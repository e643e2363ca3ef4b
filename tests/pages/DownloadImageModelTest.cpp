// The Download Firmware page's model: what it refuses before sending anything, and a download
// stopped and then run again against the simulated unit, with the messages the engine posts fed
// to the model as the window would.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "pages/VkcPPDownloadImageModel.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimFirmware.h"
#include "sim/SimFirmwareImages.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"
#include "support/FakePageHost.h"
#include "unit/VkcFirmwareDownload.h"

namespace {

using M = VkcPPDownloadImageModel;
using testsupport::FakePageHost;

class DownloadPage : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.25);
    sim::IdentOptions options;
    options.modelKey = "4";
    options.software = "SW 2.5 Rev 3";
    ident = std::make_unique<sim::SimIdent>(unit, options);
    files = std::make_unique<sim::SimUnitControlFiles>(unit);
    sim::SimFirmwareOptions fw;
    fw.pacedRate = 115200;
    firmware = std::make_unique<sim::SimFirmware>(unit, fw);
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
    host.App().SetPorts(&port, nullptr);
    model.SetHost(&host);
    model.SetWindow(window.Handle());
  }
  void TearDown() override {
    if (model.Engine()) {
      model.Engine()->RequestStop();
      model.Engine()->Finish();
    }
    port.Close();
    host.App().SetPorts(nullptr, nullptr);
    firmware.reset();
    platform::SetTimeScale(1.0);
  }
  void Type(const std::string& path) {
    model.Controls().SetText(M::kFileName, std::u16string(path.begin(), path.end()));
    model.Handle(M::kFileName, ControlEvent::TextEdited);
  }
  // Hands the model every message posted so far, as the window does, up to the end of the download.
  void DeliverUntilEnd() {
    ASSERT_TRUE(window.WaitForMessage(kMsgProgress, kProgressDownloadEnd, 120000));
    for (const auto& m : window.Messages(kMsgProgress)) model.OnProgressMessage(m.wParam, m.lParam);
    window.Clear();
  }

  FakePageHost host;
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<sim::SimUnitControlFiles> files;
  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  std::unique_ptr<sim::SimFirmware> firmware;
  VkcSerialPort port;
  platform::RecordingWindow window;
  testsupport::TempDir dir;
  M model{host.App()};
};

TEST_F(DownloadPage, RefusalsLeaveTheLockFreeAndSendNothing) {
  const std::string good = dir.File("good.xmd");
  ASSERT_TRUE(sim::WriteFirmwareFile(good, sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(300, 1))));
  const std::string empty = dir.File("empty.cxmd");
  ASSERT_TRUE(sim::WriteFirmwareFile(empty, sim::MakeFirmwareContainer({})));
  // Every entry names all the container's images at once: far more than the file holds.
  const auto extra = sim::MakeFirmwareImage(true, 1, 7, sim::FirmwarePayload(2000, 1));
  auto overlapping = sim::MakeFirmwareContainer(std::vector<std::vector<uint8_t>>(40, extra));
  for (uint32_t i = 0, at = 8 + 40 * 40, length = 40 * static_cast<uint32_t>(extra.size()); i < 40; ++i) {
    std::memcpy(&overlapping[8 + 40 * i], &at, 4);
    std::memcpy(&overlapping[12 + 40 * i], &length, 4);
  }
  const std::string crafted = dir.File("crafted.cxmd");
  ASSERT_TRUE(sim::WriteFirmwareFile(crafted, overlapping));
  struct Case {
    const char* name;
    std::string file;
    bool portOpen;
    bool lockedElsewhere;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"port closed", good, false, false, "Communication port is not open"},
      {"another process", good, true, true, "Unable to upgrade image.\nAnother process is running"},
      {"file without an image", empty, true, false, "Invalid Image file selected"},
      {"entries beyond the file's size", crafted, true, false, "Invalid Image file selected"},
      {"missing file", dir.File("none.xmd"), true, false, "Invalid Image file selected"},
  };
  int other = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.App().SetPorts(c.portOpen ? &port : nullptr, nullptr);
    if (c.lockedElsewhere) {
      ASSERT_TRUE(host.lock.Lock(&other));
    }
    unit.ClearRecord();
    model.Refresh();
    Type(c.file);
    EXPECT_TRUE(model.Controls().Get(M::kDownload).enabled);
    model.Handle(M::kDownload, ControlEvent::Clicked);
    EXPECT_EQ(host.LastMessage(), c.message);
    EXPECT_EQ(host.lock.Owner(), c.lockedElsewhere ? &other : nullptr);
    EXPECT_FALSE(model.IsRunning());
    EXPECT_TRUE(unit.Received().empty());
    if (model.Engine()) {
      EXPECT_FALSE(model.Engine()->Images().HasMain());
      EXPECT_TRUE(model.Engine()->Images().extraImages.empty());
    }
    host.lock.Unlock(&other);
  }
  // An emptied name disables Download again.
  Type("");
  EXPECT_FALSE(model.Controls().Get(M::kDownload).enabled);
}

TEST_F(DownloadPage, StoppedDownloadEndsCleanlyAndTheNextSucceeds) {
  platform::Event idle;
  ASSERT_EQ(host.System().Process(VkcSystem::kOpIdentify, 0, platform::kNoWindow, idle), 0u);
  model.Refresh();
  EXPECT_TRUE(model.Controls().Get(M::kFileName).enabled);
  const std::string big = dir.File("big.xmd");
  ASSERT_TRUE(sim::WriteFirmwareFile(big, sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(150000, 2))));
  Type(big);
  model.Handle(M::kDownload, ControlEvent::Clicked);
  ASSERT_TRUE(model.IsRunning());
  EXPECT_EQ(model.Controls().Text(M::kDownload), u"Stop");
  for (int id : {M::kFileName, M::kBrowse, M::kTarget}) EXPECT_TRUE(model.Controls().Get(id).enabled) << id;
  EXPECT_EQ(host.lock.Owner(), &model);
  EXPECT_EQ(host.App().Setting("Image", "File Name").GetString(), big);
  Type("");  // emptying the name leaves Stop usable
  EXPECT_TRUE(model.Controls().Get(M::kDownload).enabled);
  ASSERT_TRUE(window.WaitForMessage(kMsgProgress, kProgressPercent, 60000));
  model.Handle(M::kDownload, ControlEvent::Clicked);  // Stop
  EXPECT_FALSE(model.Controls().Get(M::kDownload).enabled);
  DeliverUntilEnd();
  EXPECT_EQ(host.LastMessage(), "Firmware upgrading error or incompatible firmware tried to download!");
  EXPECT_FALSE(model.IsRunning());
  EXPECT_EQ(host.lock.Owner(), nullptr);
  EXPECT_EQ(model.Controls().Text(M::kDownload), u"Download");
  EXPECT_TRUE(model.Controls().Get(M::kDownload).enabled);

  const std::string small = dir.File("small.xmd");
  const auto image = sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(900, 3));
  ASSERT_TRUE(sim::WriteFirmwareFile(small, image));
  Type(small);
  model.Handle(M::kDownload, ControlEvent::Clicked);
  DeliverUntilEnd();
  EXPECT_EQ(host.LastMessage(), "Image successfully upgraded");
  EXPECT_EQ(host.lock.Owner(), nullptr);
  EXPECT_EQ(host.refreshAll, 2);
  EXPECT_NE(model.Controls().Text(M::kLog).find(u"Identifying System"), std::u16string::npos);
  EXPECT_EQ(model.Controls().Get(M::kProgress).value, 0);
  ASSERT_EQ(firmware->Loads().size(), 2u);
  EXPECT_EQ(firmware->Loads()[1].image, image);
}

// Stop while the unit is still being brought to its command line is the user's stop, not a lost unit.
TEST_F(DownloadPage, StopWhilePreparingEndsAsAStop) {
  const std::string file = dir.File("one.xmd");
  ASSERT_TRUE(sim::WriteFirmwareFile(file, sim::MakeFirmwareImage(false, 1, 0, sim::FirmwarePayload(300, 4))));
  control.SetUnanswered("DD");
  Type(file);
  model.Handle(M::kDownload, ControlEvent::Clicked);
  ASSERT_TRUE(model.IsRunning());
  model.Handle(M::kDownload, ControlEvent::Clicked);  // Stop
  DeliverUntilEnd();
  EXPECT_EQ(host.LastMessage(), "Firmware upgrading error or incompatible firmware tried to download!");
  EXPECT_EQ(host.lock.Owner(), nullptr);
  EXPECT_TRUE(firmware->Loads().empty());
}

}  // namespace
