// The Wireless Interface page against the simulated unit over a pseudo-terminal: identify, change
// channel and power on the page, send the images: the unit receives them.

#include <gtest/gtest.h>

#include <memory>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcImageNodes.h"
#include "link/VkcCfgArchiver.h"
#include "link/VkcMemoryStream.h"
#include "link/VkcSerialPort.h"
#include "pages/VkcPPWirelessModel.h"
#include "platform/Timing.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControlFiles.h"
#include "support/FakePageHost.h"
#include "unit/VkcSystem.h"

namespace {

using M = VkcPPWirelessModel;
using sim::SimUnitControlFiles;

TEST(WirelessEndToEnd, ChannelAndPowerChangedOnThePageReachTheUnit) {
  VkcSerialPort port;  // outlives the connected unit, which reaches it to the end
  testsupport::FakePageHost host;
  sim::SimUnit unit;
  sim::IdentOptions options;
  options.modelKey = "4";
  sim::SimIdent ident(unit, options);
  SimUnitControlFiles files(unit);

  // The unit's images: a dealer channel map as the model keeps it, a user image with its channel.
  {
    VkcUnitImages images;
    SetGlobalUnitImages(&images);
    images.SetSoftwareVersion(options.software);
    const VkcDevice* vk400 = host.DeviceManager().GetDevice(4);
    images.SetCurrentDevice(vk400);
    images.Dealer().GetChild(0).SetInt(4);
    images.WriteInt(VkcNodes::kDealerMaxPower, 33);
    vk400->SetChannelFrequencies(images, {450125000, 450150000, 451000000});
    vk400->SetChannel(images, vk400->GetChannelNumber(450125000, images));
    images.WriteInt(VkcNodes::kProtocol, 2);
    images.WriteInt(VkcNodes::kOutputPower, 30);
    files.SetSection(0, SimUnitControlFiles::Archive(images.Factory()));
    files.SetSection(1, SimUnitControlFiles::Archive(images.Dealer()));
    files.SetSection(2, SimUnitControlFiles::Archive(images.User()));
    SetGlobalUnitImages(&host.System());
  }
  ASSERT_TRUE(unit.IsOk());
  ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
  host.App().SetPorts(&port, nullptr);

  ProgressRun run = host.RunUnitTasks({}, {{VkcSystem::kOpIdentify, 0}});
  ASSERT_EQ(run.modal, 1) << run.result;
  VkcSystem& sys = host.System();
  const VkcDevice* device = sys.GetCurrentDevice();
  ASSERT_NE(device, nullptr);
  ASSERT_EQ(device->GetModelId(), 4);

  M model;
  model.SetHost(&host);
  model.Refresh();
  ASSERT_EQ(model.ChannelMode(), 1);
  ASSERT_EQ(model.Controls().Get(M::kChannel).ItemCount(), 3);
  EXPECT_EQ(model.Power(), 30);
  model.Controls().Select(M::kChannel, 2);
  model.Handle(M::kChannel, ControlEvent::SelectionChanged);
  model.Controls().SetText(M::kPower, u"27");
  model.Handle(M::kPower, ControlEvent::TextEdited);
  model.Handle(M::kPower, ControlEvent::FocusLost);
  ASSERT_TRUE(model.Apply());

  run = host.RunUnitTasks(u"Sending configuration to radio",
                          {{VkcSystem::kOpWriteConfiguration, VkcSystem::kImageDealer | VkcSystem::kImageUser}});
  ASSERT_EQ(run.modal, 1) << run.result;
  const auto received = files.Received();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].first, "DDCFG");
  EXPECT_EQ(received[1].first, "CFGDN");
  EXPECT_EQ(received[1].second, SimUnitControlFiles::Archive(sys.User()));
  EXPECT_EQ(received[0].second, SimUnitControlFiles::Archive(sys.Dealer()));

  // What the unit now holds, read back as a new identification reads it.
  VkcUnitImages back;
  SetGlobalUnitImages(&back);
  back.SetSoftwareVersion(options.software);
  back.SetCurrentDevice(device);
  VkcMemoryStream dealer(received[0].second), user(received[1].second);
  for (auto [stream, tree] : {std::pair{&dealer, &back.Dealer()}, std::pair{&user, &back.User()}}) {
    VkcCfgArchiver ar;
    ar.Attach(*stream, true);
    ASSERT_TRUE(tree->Load(ar));
    ar.Detach();
  }
  EXPECT_EQ(device->GetChannel(back), device->GetChannelNumber(451000000, back));
  EXPECT_EQ(device->GetOutputPower(VkcDevice::kCurrentChannel), 27);
  SetGlobalUnitImages(&sys);
  port.Close();
  files.StopTransfer();
}

}  // namespace
