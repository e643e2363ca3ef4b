// The Identification, Remote List and Modem pages on their models, with a real unit, device
// manager and settings behind a test host.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "PageUnitSupport.h"
#include "app/ModulinkApp.h"
#include "pages/VkcPPIdentifyModel.h"
#include "pages/VkcPPModemModel.h"
#include "pages/VkcPPRemoteListModel.h"
#include "pages/VkcPPWirelessModel.h"
#include "unit/VkcConfigFile.h"

namespace {

using pagetest::Identify;
using M = VkcPPModemModel;
using R = VkcPPRemoteListModel;
using I = VkcPPIdentifyModel;

std::vector<uint8_t> Record(const VkcConfiguration& tree) { return VkcConfigFile::Serialize(tree); }

struct Pages : ::testing::Test {
  testsupport::FakePageHost host;
  pagetest::GlobalUnit global{host.System()};
  VkcSystem& unit = host.System();
  I identify;
  R remotes;
  M modem;
  Pages() {
    identify.SetHost(&host);
    remotes.SetHost(&host);
    modem.SetHost(&host);
  }
  void Interface(int value) { host.App().Setting(ModulinkApp::kSerialSection, ModulinkApp::kInterfaceKey).SetInt(value); }
};

// --- Identification ---

TEST_F(Pages, IdentificationShowsTheUnitAndEnablesItsEditsOnlyForAModel) {
  identify.Refresh();
  EXPECT_EQ(identify.Controls().Text(I::kUnitType), u"N/A");
  EXPECT_FALSE(identify.Controls().Get(I::kAddress).enabled);

  Identify(host, 4);
  identify.Refresh();
  const PageControls& c = identify.Controls();
  EXPECT_EQ(c.Text(I::kUnitType), u"VK400, ID 4");
  EXPECT_EQ(c.Text(I::kSerialNumber), u"123456789ABC");
  EXPECT_EQ(c.Text(I::kFirmware), u"SW 3.1 Rev 4");
  EXPECT_EQ(c.Text(I::kBootloader), u"BL 2.3");
  EXPECT_EQ(c.Text(I::kHardware), u"HW 1.0");
  for (int id : {I::kUnitName, I::kOwner, I::kAddress}) EXPECT_TRUE(c.Get(id).enabled) << id;
  EXPECT_TRUE(c.Get(I::kSerialNumber).readOnly);

  // A unit in its start-up code: shown, its edits disabled.
  unit.SetCurrentDevice(host.DeviceManager().GetDevice(-1));
  identify.Refresh();
  EXPECT_EQ(c.Text(I::kUnitType), u"Startup");
  for (int id : {I::kUnitName, I::kOwner, I::kAddress}) EXPECT_FALSE(c.Get(id).enabled) << id;
}

TEST_F(Pages, TheAddressIsOfferedOnlyThroughInterfaceTwo) {
  Identify(host, 4);
  const std::pair<int, bool> cases[] = {{2, true}, {1, false}, {6, false}, {2, true}, {0, true}};
  for (const auto& [iface, shown] : cases) {
    Interface(iface);
    identify.Refresh();
    EXPECT_EQ(identify.Controls().Get(I::kAddress).visible, shown) << iface;
    EXPECT_EQ(identify.Controls().Get(I::kAddressLabel).visible, shown) << iface;
  }
}

TEST_F(Pages, IdentificationWritesTheAddressOnlyWhenChangedForTheUnitShown) {
  Identify(host, 4);
  unit.At(VkcNodes::kBtSetting).SetInt(7);  // an integer where older images kept the address
  Interface(1);
  identify.Refresh();
  const std::vector<uint8_t> before = Record(unit.User());
  EXPECT_TRUE(identify.Apply());
  EXPECT_EQ(Record(unit.User()), before);

  // Edited: to [6][2] without a Bluetooth state, to [7][0] with one.
  identify.Controls().SetText(I::kAddress, u"0A1B2C3D4E5F");
  EXPECT_TRUE(identify.Apply());
  EXPECT_EQ(unit.GetOwnUnitAddress().ToString(std::u16string_view()), u"0A1B2C3D4E5F");
  EXPECT_EQ(unit.ReadType(VkcNodes::kBtSetting), CfgNode::kTypeBytes);
  unit.At(VkcNodes::kBtState).SetInt(1);
  identify.Refresh();
  identify.Controls().SetText(I::kAddress, u"01-02-03-04-05-06");
  EXPECT_TRUE(identify.Apply());
  EXPECT_EQ(unit.Find(VkcNodes::kOwnAddress)->GetByteVector(), std::vector<uint8_t>({1, 2, 3, 4, 5, 6}));

  // Another unit since the refresh: nothing is written into it.
  identify.Controls().SetText(I::kAddress, u"AAAAAAAAAAAA");
  Identify(host, 12);
  const std::vector<uint8_t> other = Record(unit.User());
  EXPECT_TRUE(identify.Apply());
  EXPECT_EQ(Record(unit.User()), other);
}

// The unit shown is its model and serial number: an L-band unit whose active receiver is the
// beacon gets its beacon-mode device object from the Wireless refresh that follows, and the
// address typed then is still stored.
TEST_F(Pages, TheUnitShownOutlastsARefreshThatSwapsItsModeObject) {
  Identify(host, 36, "SW 1.0 Rev 0");
  unit.WriteInt(VkcNodes::kActiveReceiver, 1);
  VkcPPWirelessModel wireless;
  wireless.SetHost(&host);
  identify.Refresh();
  wireless.Refresh();
  ASSERT_NE(unit.GetCurrentDevice(), host.DeviceManager().GetDevice(36));
  ASSERT_EQ(unit.GetCurrentDevice()->GetModelId(), 36);
  identify.Controls().SetText(I::kAddress, u"0A1B2C3D4E5F");
  EXPECT_TRUE(identify.Apply());
  EXPECT_EQ(unit.GetOwnUnitAddress().ToString(std::u16string_view()), u"0A1B2C3D4E5F");
}

// --- Remote List ---

TEST_F(Pages, RemoteListIsForFamilyThreeTransmittersOnly) {
  struct Case {
    int model;
    const char* software;
    bool enabled;
  };
  const Case cases[] = {
      {12, "SW 2.1 Rev 4", true},   // transceiver, family 3
      {12, "SW 3.1 Rev 4", false},  // transceiver, family 1
      {2, "SW 2.1 Rev 4", false},   // receiver
      {6, "SW 2.1 Rev 0", true},    // VK400Tx family 3 up to 3.2
  };
  for (const Case& c : cases) {
    Identify(host, c.model, c.software);
    remotes.Refresh();
    for (int i = 0; i < R::kRemoteCount; ++i) EXPECT_EQ(remotes.Controls().Get(R::kRemote1 + i).enabled, c.enabled);
    EXPECT_EQ(remotes.Controls().Get(R::kApply).enabled, c.enabled) << c.model << " " << c.software;
  }
}

TEST_F(Pages, RemoteListShowsTheStoredListAndStoresOnlyOnApply) {
  Identify(host, 12, "SW 2.1 Rev 4");
  const uint8_t a[6] = {1, 2, 3, 4, 5, 6}, shortId[4] = {0xAB, 0xCD, 0xEF, 0x01};
  unit.At(VkcNodes::kRemoteList, 0).SetBytes(a, 6);
  unit.At(VkcNodes::kRemoteList, 1).SetBytes(shortId, 4);
  remotes.Controls().SetText(R::kRemote1 + 4, u"FFFFFFFFFFFF");  // left from another unit
  remotes.Refresh();
  const PageControls& c = remotes.Controls();
  EXPECT_EQ(c.Text(R::kRemote1), u"010203040506");
  EXPECT_EQ(c.Text(R::kRemote1 + 1), u"ABCDEF010000");
  for (int i = 2; i < 5; ++i) EXPECT_EQ(c.Text(R::kRemote1 + i), u"000000000000");

  // Editing and applying the page (send, save, page switch) store nothing.
  remotes.Controls().SetText(R::kRemote1 + 2, u"112233445566");
  const std::vector<uint8_t> before = Record(unit.User());
  EXPECT_TRUE(remotes.Apply());
  EXPECT_EQ(Record(unit.User()), before);

  remotes.Handle(R::kApply, ControlEvent::Clicked);
  const CfgNode* list = unit.Find(VkcNodes::kRemoteList);
  ASSERT_EQ(list->GetChildCount(), 5u);
  EXPECT_EQ(list->ChildAt(2).GetByteVector(), std::vector<uint8_t>({0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));
  EXPECT_EQ(list->ChildAt(4).GetByteVector(), std::vector<uint8_t>(6, 0));

  // Shown for one unit, pressed for another: nothing of the first goes into the second.
  Identify(host, 12, "SW 2.1 Rev 4", a);
  const std::vector<uint8_t> other = Record(unit.User());
  remotes.Handle(R::kApply, ControlEvent::Clicked);
  EXPECT_EQ(Record(unit.User()), other);
}

// --- Modem ---

TEST_F(Pages, ModemShowsStepsOfTheMinimumAndStoresThemBack) {
  Identify(host, 4);  // transmitter with alarm outputs
  unit.WriteInt(VkcNodes::kSleepInactivity, 50);
  unit.WriteInt(VkcNodes::kSleepWakePeriod, 0);
  unit.WriteInt(VkcNodes::kSleepWakeBySense, 1);
  modem.Refresh();
  PageControls& c = modem.Controls();
  EXPECT_TRUE(c.Checked(M::kSleep));
  EXPECT_EQ(c.Text(M::kInactivity), u"5000");
  EXPECT_EQ(c.Value(M::kInactivitySlider), 5000);
  EXPECT_EQ(*c.Get(M::kInactivitySlider).range, (ControlRange{100, 25500}));
  EXPECT_EQ(c.Get(M::kInactivitySlider).tickInterval, (25500 - 100) / 20);
  EXPECT_TRUE(c.Get(M::kInactivity).enabled);
  EXPECT_FALSE(c.Checked(M::kClock));
  EXPECT_FALSE(c.Get(M::kPeriod).enabled);
  EXPECT_TRUE(c.Checked(M::kSenseLine));

  c.SetText(M::kInactivity, u"5050");
  EXPECT_TRUE(modem.Apply());
  EXPECT_EQ(unit.ReadInt(VkcNodes::kSleepInactivity), 50);
  EXPECT_EQ(unit.ReadInt(VkcNodes::kSleepWakePeriod), 0);
  EXPECT_EQ(unit.ReadInt(VkcNodes::kSleepWakeBySense), 1);

  // The clock: checked with no period, it takes the wake minimum; stored in steps of it.
  c.SetCheck(M::kClock, true);
  modem.Handle(M::kClock, ControlEvent::Clicked);
  EXPECT_TRUE(c.Get(M::kPeriod).enabled);
  EXPECT_EQ(c.Text(M::kPeriod), u"10");
  c.SetText(M::kPeriod, u"1234");
  EXPECT_TRUE(modem.Apply());
  EXPECT_EQ(unit.ReadInt(VkcNodes::kSleepWakePeriod), 123);

  // Sleep cleared: all four sleep nodes 0.
  c.SetCheck(M::kSleep, false);
  modem.Handle(M::kSleep, ControlEvent::Clicked);
  for (int id : {M::kInactivity, M::kInactivitySlider, M::kClock, M::kPeriod, M::kControlLine, M::kSenseLine})
    EXPECT_FALSE(c.Get(id).enabled) << id;
  EXPECT_TRUE(modem.Apply());
  for (const VkcNodePath* p : {&VkcNodes::kSleepInactivity, &VkcNodes::kSleepWakePeriod,
                               &VkcNodes::kSleepWakeByControl, &VkcNodes::kSleepWakeBySense})
    EXPECT_EQ(unit.ReadInt(*p), 0) << p->ToString();

  // Cleared in place: each node keeps its type (an untyped one, a flag, an integer).
  const std::pair<const VkcNodePath*, uint32_t> kept[] = {{&VkcNodes::kSleepInactivity, CfgNode::kTypeNone},
                                                         {&VkcNodes::kSleepWakeByControl, CfgNode::kTypeBool},
                                                         {&VkcNodes::kSleepWakeBySense, CfgNode::kTypeInt}};
  unit.At(VkcNodes::kSleepInactivity) = CfgNode();
  unit.At(VkcNodes::kSleepInactivity).ReplaceScalar(9);
  unit.At(VkcNodes::kSleepWakeByControl).SetBool(true);
  modem.Refresh();
  c.SetCheck(M::kSleep, false);
  EXPECT_TRUE(modem.Apply());
  for (const auto& [p, type] : kept) {
    EXPECT_EQ(unit.ReadInt(*p), 0) << p->ToString();
    EXPECT_EQ(unit.ReadType(*p), type) << p->ToString();
  }

  // Shown again and checked: an inactivity of 0 starts at the minimum.
  modem.Refresh();
  EXPECT_FALSE(c.Checked(M::kSleep));
  c.SetCheck(M::kSleep, true);
  modem.Handle(M::kSleep, ControlEvent::Clicked);
  EXPECT_EQ(c.Text(M::kInactivity), u"100");
  EXPECT_TRUE(c.Get(M::kInactivity).enabled);
}

// A stored value beyond the device range (255 steps at most) shows as it is, with only the slider
// bounded: an apply without an edit stores it back, leaving the edit brings the slider's value.
TEST_F(Pages, ModemKeepsAnUntouchedValueOutsideTheRange) {
  struct Case {
    const VkcNodePath* node;
    int edit, slider;
    uint32_t stored;
    const char16_t* shown;
    int maximum;
  };
  const Case cases[] = {
      {&VkcNodes::kSleepInactivity, M::kInactivity, M::kInactivitySlider, 300, u"30000", 25500},
      {&VkcNodes::kSleepWakePeriod, M::kPeriod, M::kPeriodSlider, 300, u"3000", 2550},
      {&VkcNodes::kSleepInactivity, M::kInactivity, M::kInactivitySlider, 0xFFFFFFFF, u"429496729500", 25500},
  };
  Identify(host, 4);
  PageControls& c = modem.Controls();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.node->ToString());
    unit.WriteInt(VkcNodes::kSleepInactivity, 50);
    unit.WriteInt(VkcNodes::kSleepWakePeriod, 20);
    unit.At(*k.node).SetInt(k.stored);
    modem.Refresh();
    EXPECT_EQ(c.Text(k.edit), k.shown);
    EXPECT_EQ(c.Value(k.slider), k.maximum);
    EXPECT_TRUE(modem.Apply());
    EXPECT_EQ(static_cast<uint32_t>(unit.ReadInt(*k.node)), k.stored);
    modem.Handle(k.edit, ControlEvent::FocusLost);
    EXPECT_TRUE(modem.Apply());
    EXPECT_EQ(unit.ReadInt(*k.node), 255);
  }
}

TEST_F(Pages, ModemEditsAndSlidersFollowEachOther) {
  Identify(host, 4);
  unit.WriteInt(VkcNodes::kSleepInactivity, 10);
  modem.Refresh();
  PageControls& c = modem.Controls();
  struct Case {
    const char16_t* typed;
    int slider;        // while typing
    const char16_t* left;  // after leaving the edit
  };
  // In order: what is left of one case is where the next starts.
  const Case cases[] = {
      {u"25500", 25500, u"25500"}, {u"30000", 25500, u"25500"}, {u"50", 100, u"100"},
      {u"7000", 7000, u"7000"},    {u"x", 7000, u"7000"},       {u"", 7000, u"7000"},
  };
  for (const Case& k : cases) {
    c.SetText(M::kInactivity, k.typed);
    modem.Handle(M::kInactivity, ControlEvent::TextEdited);
    EXPECT_EQ(c.Value(M::kInactivitySlider), k.slider);
    modem.Handle(M::kInactivity, ControlEvent::FocusLost);
    EXPECT_EQ(c.Text(M::kInactivity), k.left);
  }
  c.SetValue(M::kInactivitySlider, 12300);
  modem.Handle(M::kInactivitySlider, ControlEvent::Scrolled);
  EXPECT_EQ(c.Text(M::kInactivity), u"12300");
}

TEST_F(Pages, ModemAlarmOutputsFollowTheirChecksAndEvents) {
  Identify(host, 4);
  unit.WriteInt(VkcNodes::kAlarmOut1, 7);  // no button stands for it: the first event
  unit.WriteInt(VkcNodes::kAlarmOut2, 0);
  modem.Refresh();
  PageControls& c = modem.Controls();
  EXPECT_TRUE(c.Get(M::kAlarm1Box).visible);
  EXPECT_TRUE(c.Checked(M::kOutput1));
  EXPECT_EQ(c.Selection(M::kEvent1), 0);
  EXPECT_TRUE(c.Get(M::kEvent1Buttons[0]).enabled);
  EXPECT_FALSE(c.Checked(M::kOutput2));
  EXPECT_EQ(c.Selection(M::kEvent2), -1);
  EXPECT_FALSE(c.Get(M::kEvent2Buttons[0]).enabled);
  EXPECT_FALSE(c.Get(M::kThresholdButtons[0]).enabled);

  // Output 2 checked: Sensor 2; the third event: thresholds enabled, 10E-3.
  c.SetCheck(M::kOutput2, true);
  modem.Handle(M::kOutput2, ControlEvent::Clicked);
  EXPECT_EQ(c.Selection(M::kEvent2), 0);
  EXPECT_TRUE(c.Get(M::kEvent2Buttons[2]).enabled);
  EXPECT_FALSE(c.Get(M::kThresholdButtons[0]).enabled);
  c.Select(M::kEvent2, 2);
  modem.Handle(M::kEvent2Buttons[2], ControlEvent::Clicked);
  EXPECT_EQ(c.Selection(M::kThreshold), 0);
  EXPECT_TRUE(c.Get(M::kThresholdButtons[1]).enabled);
  EXPECT_TRUE(modem.Apply());
  EXPECT_EQ(unit.ReadInt(VkcNodes::kAlarmOut1), 1);  // as shown
  EXPECT_EQ(unit.ReadInt(VkcNodes::kAlarmOut2), 3);
  EXPECT_EQ(unit.ReadInt(VkcNodes::kAlarmBerThreshold), 1);

  c.SetCheck(M::kOutput1, false);
  c.SetCheck(M::kOutput2, false);
  modem.Handle(M::kOutput1, ControlEvent::Clicked);
  EXPECT_FALSE(c.Get(M::kEvent1Buttons[1]).enabled);
  EXPECT_TRUE(modem.Apply());
  EXPECT_EQ(unit.ReadInt(VkcNodes::kAlarmOut1), 0);
  EXPECT_EQ(unit.ReadInt(VkcNodes::kAlarmOut2), 0);
  EXPECT_EQ(unit.ReadInt(VkcNodes::kAlarmBerThreshold), 0);
}

TEST_F(Pages, ModemIsDisabledWithoutATransmitterAndHidesAlarmsWithoutOutputs) {
  // VK400Tx: a transmitter without alarm outputs.
  Identify(host, 6);
  modem.Refresh();
  EXPECT_TRUE(modem.Controls().Get(M::kSleep).enabled);
  for (int id : {M::kAlarm1Box, M::kOutput1, M::kAlarm2Box, M::kOutput2, M::kThresholdButtons[1]}) {
    EXPECT_FALSE(modem.Controls().Get(id).visible) << id;
    EXPECT_FALSE(modem.Controls().Get(id).enabled) << id;
  }
  modem.Controls().SetCheck(M::kOutput1, true);
  EXPECT_TRUE(modem.Apply());
  EXPECT_EQ(unit.ReadType(VkcNodes::kAlarmOut1), CfgNode::kTypeNone);

  // A receiver: all disabled, and its images untouched by what the controls still hold.
  modem.Controls().SetCheck(M::kSleep, true);
  Identify(host, 2);
  modem.Refresh();
  EXPECT_FALSE(modem.Controls().Get(M::kSleep).enabled);
  EXPECT_FALSE(modem.Controls().Get(M::kInactivity).enabled);
  const std::vector<uint8_t> before = Record(unit.User());
  EXPECT_TRUE(modem.Apply());
  EXPECT_EQ(Record(unit.User()), before);
}

// Shown for unit A, then applied while unit B of another model is connected: nothing of A's.
TEST_F(Pages, APageShownForOneUnitAppliesNothingIntoAnother) {
  Identify(host, 4);
  unit.WriteInt(VkcNodes::kSleepInactivity, 30);
  unit.WriteInt(VkcNodes::kAlarmOut1, 2);
  identify.Refresh();
  modem.Refresh();
  identify.Controls().SetText(I::kAddress, u"0A1B2C3D4E5F");

  const uint8_t other[6] = {6, 5, 4, 3, 2, 1};
  Identify(host, 12, "SW 2.1 Rev 4", other);
  const std::vector<uint8_t> dealer = Record(unit.Dealer()), user = Record(unit.User());
  EXPECT_TRUE(identify.Apply());
  EXPECT_TRUE(modem.Apply());
  EXPECT_TRUE(remotes.Apply());
  EXPECT_EQ(Record(unit.Dealer()), dealer);
  EXPECT_EQ(Record(unit.User()), user);
}

// Configuration files from outside, loaded and shown: the fuzz corpus through the pages' refresh
// and apply.
TEST_F(Pages, LoadedFilesOfTheFuzzCorpusRefreshAndApply) {
  const std::filesystem::path corpus =
      std::filesystem::path(__FILE__).parent_path() / ".." / "fuzz" / "corpus" / "configfile";
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (bool identified : {false, true}) {
      if (identified) {
        Identify(host, 12, "SW 2.1 Rev 4");
      } else {
        unit.Reset();
      }
      VkcConfiguration tree;
      std::string message;
      if (VkcConfigFile::Parse(bytes, tree, message)) VkcConfigFile::Apply(tree, false, unit, host.DeviceManager(), message);
      for (PageModel* page : {static_cast<PageModel*>(&identify), static_cast<PageModel*>(&remotes),
                              static_cast<PageModel*>(&modem)}) {
        page->Refresh();
        EXPECT_TRUE(page->Apply()) << entry.path();
      }
      remotes.Handle(R::kApply, ControlEvent::Clicked);
    }
    ++files;
  }
  EXPECT_GE(files, 5u);
}

}  // namespace
