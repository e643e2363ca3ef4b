// The Wireless Interface page's model on real model classes and images, family by family.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcImageNodes.h"
#include "link/Format.h"
#include "link/Utf.h"
#include "pages/VkcPPWirelessModel.h"
#include "sim/SimUnitControlFiles.h"
#include "support/FakePageHost.h"
#include "unit/VkcSystem.h"

namespace {

using M = VkcPPWirelessModel;
using testsupport::FakePageHost;

struct Wireless : ::testing::Test {
  FakePageHost host;
  M model;
  Wireless() { model.SetHost(&host); }

  VkcSystem& Sys() { return host.System(); }
  // A unit of the model with a channel map, a current channel and a dealer maximum.
  const VkcDevice& Unit(int key, const char* firmware, int protocol = 2) {
    const VkcDevice* device = host.DeviceManager().GetDevice(key);
    EXPECT_NE(device, nullptr) << key;
    Sys().SetSoftwareVersion(firmware);
    Sys().SetCurrentDevice(device);
    Sys().WriteInt(VkcNodes::kProtocol, protocol);
    Sys().WriteInt(VkcNodes::kDealerMaxPower, 30);
    Sys().WriteInt(VkcNodes::kOutputPower, 25);
    std::vector<uint32_t> map = {450125000, 450150000, 451000000};
    device->SetChannelFrequencies(Sys(), map);
    device->SetChannel(Sys(), device->GetChannelNumber(450150000, Sys()));
    return *device;
  }
  std::vector<uint8_t> Images() {
    std::vector<uint8_t> all;
    for (VkcConfiguration* tree : {&Sys().Factory(), &Sys().Dealer(), &Sys().User()}) {
      std::vector<uint8_t> one = sim::SimUnitControlFiles::Archive(*tree);
      all.insert(all.end(), one.begin(), one.end());
    }
    return all;
  }
  const ControlState& C(int id) { return model.Controls().Get(id); }
};

TEST_F(Wireless, WithoutAUnitEverythingIsDisabledAndApplyStoresNothing) {
  for (const VkcDevice* device : {static_cast<const VkcDevice*>(nullptr), host.DeviceManager().GetDevice(-2)}) {
    Sys().SetCurrentDevice(device);
    model.Refresh();
    for (int id : {M::kBase, M::kRemote, M::kProtocol, M::kModulation, M::kChannel, M::kSlider, M::kPower, M::kFec,
                   M::kScrambling, M::kRepeater, M::kAutoScan})
      EXPECT_FALSE(C(id).enabled) << id;
    for (int id : {M::kReceiver, M::kReceiverLabel, M::kScanGroup, M::kScanFrequency, M::kScanSignal})
      EXPECT_FALSE(C(id).visible) << id;
    EXPECT_EQ(model.Controls().Text(M::kRate), u"");
    const auto before = Images();
    EXPECT_TRUE(model.Apply());
    EXPECT_EQ(Images(), before);
  }
}

// Per family: what shows, the lists, and a refresh -> apply round trip that changes nothing.
TEST_F(Wireless, FamiliesShowTheirControlsAndRoundTripUnchanged) {
  const struct Case {
    const char* family;
    int key;
    const char* firmware;
    bool hopping;
    bool byNumber;
    bool receiver;
  } cases[] = {
      {"transceiver", 4, "SW 3.2 Rev 0", true, false, false},
      {"VK400Tx raster line", 6, "SW 3.0 Rev 1", false, false, false},
      {"Topcon line", 22, "SW 1.0 Rev 0", false, false, false},
      {"receiver", 32, "SW 1.0 Rev 0", false, true, false},
      {"L-band unit", 36, "SW 1.0 Rev 0", false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    Sys().ClearForIdentification();
    const VkcDevice& device = Unit(c.key, c.firmware);
    model.Refresh();
    EXPECT_TRUE(C(M::kRemote).enabled || device.GetFirmwareFamily() != 0);
    EXPECT_GT(C(M::kProtocol).ItemCount(), 0);
    EXPECT_GE(C(M::kProtocol).selection, 0);
    EXPECT_EQ(C(M::kHopping).enabled, device.HasFeature(Sys(), 0));
    EXPECT_EQ(C(M::kChannelNumber).visible, c.byNumber);
    EXPECT_EQ(C(M::kChannel).visible, !c.byNumber);
    EXPECT_EQ(C(M::kReceiver).visible, c.receiver);
    EXPECT_NE(model.Controls().Text(M::kRate).find(u" kbps"), std::u16string::npos);
    if (model.ChannelMode() == 1 && !c.byNumber) {
      EXPECT_EQ(C(M::kChannel).ItemCount(), 3);
    }
    EXPECT_TRUE(model.Apply());  // the first apply writes the nodes a page owns
    const auto settled = Images();
    model.Refresh();
    EXPECT_TRUE(model.Apply());
    EXPECT_EQ(Images(), settled);
    EXPECT_TRUE(host.messages.empty());
  }
}

TEST_F(Wireless, ChannelEntriesAndPowerRangeFollowTheDevice) {
  const VkcDevice& device = Unit(4, "SW 3.2 Rev 0");
  Sys().WriteInt(VkcNodes::kDealerMaxPower, 40);  // outside the device's range: the device maximum
  model.Refresh();
  ASSERT_EQ(model.ChannelMode(), 1);
  const ControlState& list = C(M::kChannel);
  ASSERT_EQ(list.ItemCount(), 3);
  const int number = device.GetChannelNumber(450125000, Sys());
  EXPECT_EQ((*list.items)[0], Utf8ToUtf16(StrPrintf("(%d) - 450,125,000", number)));
  EXPECT_EQ(list.selection, 1);
  EXPECT_EQ(C(M::kSlider).range, (ControlRange{device.GetMinPowerDbm(), device.GetMaxPowerDbm()}));
  EXPECT_EQ(model.Controls().Text(M::kMaxLabel), Utf8ToUtf16(std::to_string(device.GetMaxPowerDbm())));
  EXPECT_EQ(model.Power(), 25);

  // In mW the limits and the value are converted; apply stores dBm.
  const bool extended = device.HasFeature(Sys(), 6);
  model.Controls().Select(M::kPowerUnit, 1);
  model.Handle(M::kPowerUnit, ControlEvent::SelectionChanged);
  EXPECT_EQ(model.Controls().Text(M::kMinLabel),
            Utf8ToUtf16(std::to_string(VkcDevice::DbmToMilliwatts(device.GetMinPowerDbm(), extended))));
  EXPECT_EQ(model.Power(), VkcDevice::DbmToMilliwatts(25, extended));
  model.Controls()[M::kSlider].action = SliderAction::LineDown;
  model.Handle(M::kSlider, ControlEvent::Scrolled);
  const int shown = model.Power();
  ASSERT_TRUE(model.Apply());
  EXPECT_EQ(device.GetOutputPower(VkcDevice::kCurrentChannel), VkcDevice::MilliwattsToDbm(shown, extended));

  // Another channel in Manual mode; the transmit list left without a selection gives -1.
  model.Controls().Select(M::kChannel, 2);
  model.Handle(M::kChannel, ControlEvent::SelectionChanged);
  model.Controls().Select(M::kTxChannel, -1);
  ASSERT_TRUE(model.Apply());
  EXPECT_EQ(device.GetChannel(Sys()), device.GetChannelNumber(451000000, Sys()));
  EXPECT_EQ(Sys().ReadInt(VkcNodes::kHoppingPattern), 0);
}

TEST_F(Wireless, ScramblingLinkIdAndItsMessage) {
  const VkcDevice& device = Unit(4, "SW 3.2 Rev 0");
  ASSERT_TRUE(device.HasFeature(Sys(), 8));
  Sys().WriteInt(VkcNodes::kScramblingId, 0);
  model.Refresh();
  EXPECT_FALSE(model.Controls().Checked(M::kScrambling));
  EXPECT_FALSE(C(M::kLinkId).enabled);
  model.Controls().SetCheck(M::kScrambling, true);
  model.Handle(M::kScrambling, ControlEvent::Clicked);
  EXPECT_EQ(model.Controls().Text(M::kLinkId), u"1");
  EXPECT_TRUE(C(M::kLinkId).enabled);

  const int max = device.GetMaxScramblingLinkId();
  const struct {
    std::u16string typed;
    std::u16string shown;
    bool message;
  } cases[] = {{Utf8ToUtf16(std::to_string(max + 45)), u"1", true}, {u"0", u"1", true}, {u"7", u"7", false}};
  for (const auto& c : cases) {
    host.messages.clear();
    model.Controls().SetText(M::kLinkId, c.typed);
    model.Handle(M::kLinkId, ControlEvent::FocusLost);
    EXPECT_EQ(model.Controls().Text(M::kLinkId), c.shown);
    EXPECT_EQ(host.LastMessage(), c.message ? StrPrintf("Please enter Scram link id between 1 and %d", max) : "");
  }
  ASSERT_TRUE(model.Apply());
  EXPECT_EQ(Sys().ReadInt(VkcNodes::kScramblingId), 7);
  model.Controls().SetCheck(M::kScrambling, false);
  ASSERT_TRUE(model.Apply());
  EXPECT_EQ(Sys().ReadInt(VkcNodes::kScramblingId), 0);
}

TEST_F(Wireless, ModesFromPatternAndFeatures) {
  Unit(4, "SW 3.2 Rev 0");
  const bool hopping = host.DeviceManager().GetDevice(4)->HasFeature(Sys(), 0);
  Sys().WriteInt(VkcNodes::kHoppingPattern, 5);
  model.Refresh();
  EXPECT_EQ(model.ChannelMode(), hopping ? 2 : 1);
  // Frequency hopping chosen with pattern 0 shows 1.
  Sys().WriteInt(VkcNodes::kHoppingPattern, 0);
  model.Refresh();
  model.Controls().Select(M::kChannelMode, 2);
  model.Controls().SetText(M::kPattern, u"0");
  model.Handle(M::kHopping, ControlEvent::Clicked);
  EXPECT_EQ(model.Controls().Text(M::kPattern), u"1");
  EXPECT_TRUE(C(M::kPattern).enabled);
  ASSERT_TRUE(model.Apply());
  EXPECT_EQ(Sys().ReadInt(VkcNodes::kHoppingPattern), 1);
}

TEST_F(Wireless, ChannelNumberEntryChecksTheRtcaNumbering) {
  Unit(32, "SW 1.0 Rev 0");
  model.Refresh();
  model.Controls().Select(M::kChannelMode, 1);
  model.Handle(M::kManual, ControlEvent::Clicked);
  ASSERT_TRUE(C(M::kChannelNumber).visible);
  const auto before = model.Controls().Text(M::kChannelNumber);
  model.Controls().SetText(M::kChannelNumber, u"20001");
  model.Handle(M::kChannelNumber, ControlEvent::FocusLost);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(model.Controls().Text(M::kTxLabel), u"Frequency 108025000 Hz");
  model.Controls().SetText(M::kChannelNumber, u"20400");
  model.Handle(M::kChannelNumber, ControlEvent::FocusLost);
  EXPECT_EQ(host.LastMessage(),
            "The Channel number must be in the range of 20001 and 39999 and\r\ncorrespond to RTCA standard");
  EXPECT_EQ(model.Controls().Text(M::kChannelNumber), u"20001");
  (void)before;
}

// What the page shows is what it stores: a stored protocol, modulation, power or receive channel
// the page cannot show is stored as shown by an apply without edits.
TEST_F(Wireless, StoredValuesThePageCannotShowAreStoredAsShown) {
  const VkcDevice& device = Unit(4, "SW 3.2 Rev 0");
  Sys().WriteInt(VkcNodes::kProtocol, 99);
  Sys().WriteInt(VkcNodes::kModulation, 77);
  Sys().WriteInt(VkcNodes::kOutputPower, 45);  // above the dealer maximum of 30
  device.SetRxChannel(Sys(), 9999);            // no channel of the map
  model.Refresh();
  ASSERT_EQ(model.ChannelMode(), 1);
  for (int id : {M::kProtocol, M::kModulation}) EXPECT_EQ(C(id).selection, 0) << id;
  EXPECT_EQ(C(M::kTxChannel).selection, -1);
  EXPECT_EQ(model.Power(), 30);
  ASSERT_TRUE(model.Apply());
  EXPECT_EQ(Sys().ReadInt(VkcNodes::kProtocol), C(M::kProtocol).SelectedData());
  EXPECT_EQ(Sys().ReadInt(VkcNodes::kModulation), C(M::kModulation).SelectedData());
  EXPECT_EQ(device.GetOutputPower(VkcDevice::kCurrentChannel), 30);
  EXPECT_EQ(device.GetRxChannel(Sys()), -1);
}

// Channel entered by number: a unit whose channel names no frequency shows an empty edit and keeps
// its channel; the number of the unit shown before never reaches it.
TEST_F(Wireless, AChannelNumberOfTheUnitShownBeforeIsNeitherShownNorStored) {
  for (const int channel : {20005, 0}) {
    Sys().ClearForIdentification();
    const VkcDevice& device = Unit(32, "SW 1.0 Rev 0");
    device.SetChannel(Sys(), channel);
    model.Refresh();
    ASSERT_EQ(model.ChannelMode(), 1);
    EXPECT_EQ(model.Controls().Text(M::kChannelNumber), channel != 0 ? u"20005" : u"");
    EXPECT_EQ(model.Controls().Text(M::kTxLabel).find(u"Hz") != std::u16string::npos, channel != 0);
    ASSERT_TRUE(model.Apply());
    EXPECT_EQ(device.GetChannel(Sys()), channel);
  }
}

TEST_F(Wireless, ActiveReceiverSwitchAppliesSwapsTheDeviceAndRefreshesAll) {
  Unit(36, "SW 1.0 Rev 0");
  Sys().WriteInt(VkcNodes::kActiveReceiver, 0);
  model.Refresh();
  ASSERT_TRUE(C(M::kReceiver).visible);
  EXPECT_EQ(C(M::kReceiver).selection, 0);
  model.Controls().Select(M::kReceiver, 1);
  model.Handle(M::kReceiver, ControlEvent::SelectionChanged);
  EXPECT_EQ(Sys().ReadInt(VkcNodes::kActiveReceiver), 1);
  EXPECT_EQ(Sys().GetCurrentDevice(), host.DeviceManager().GetDevice(36)->GetDeviceForMode(1));
  EXPECT_EQ(host.refreshAll, 1);
  // A unit without receiver modes never gets the index written.
  Sys().ClearForIdentification();
  Unit(4, "SW 3.2 Rev 0");
  model.Refresh();
  ASSERT_TRUE(model.Apply());
  EXPECT_FALSE(Sys().HasValue(VkcNodes::kActiveReceiver));
}

}  // namespace
