// The Advanced Wireless Interface page's model on real model classes and images.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "devices/VkcImageNodes.h"
#include "link/Utf.h"
#include "link/VkcCfgArchiver.h"
#include "link/VkcMemoryStream.h"
#include "pages/VkcPPAdvancedWirelessModel.h"
#include "sim/SimUnitControlFiles.h"
#include "support/FakePageHost.h"
#include "unit/VkcSystem.h"

namespace {

using M = VkcPPAdvancedWirelessModel;
using testsupport::FakePageHost;

constexpr char kCallSignMessage[] =
    "Invalid call sign in entered. Please make sure that it consists of A-Z, 0-9 characters and length is not "
    "greater than 10. Previous call sign will be assigned.";

struct AdvancedWireless : ::testing::Test {
  FakePageHost host;
  M model;
  AdvancedWireless() { model.SetHost(&host); }
  VkcSystem& Sys() { return host.System(); }
  const VkcDevice& Unit(int key, const char* firmware) {
    const VkcDevice* device = host.DeviceManager().GetDevice(key);
    EXPECT_NE(device, nullptr);
    Sys().SetSoftwareVersion(firmware);
    Sys().SetCurrentDevice(device);
    return *device;
  }
  std::vector<uint8_t> User() { return sim::SimUnitControlFiles::Archive(Sys().User()); }
  const ControlState& C(int id) { return model.Controls().Get(id); }
  void Leave(int id, std::u16string text) {
    model.Controls().SetText(id, std::move(text));
    model.Handle(id, ControlEvent::FocusLost);
  }
};

TEST_F(AdvancedWireless, GroupsFollowFeaturesAndCapabilities) {
  const struct {
    const char* family;
    int key;
    const char* firmware;
    bool sensitivity, reset, callSign, mode;
  } cases[] = {
      {"receiver without options", 2, "N/A", false, false, false, false},
      {"KEV400Rx", 58, "SW 1.0 Rev 0", true, true, false, false},
      {"transceiver 3.2", 4, "SW 3.2 Rev 0", true, true, true, true},
      {"transceiver 1.8", 4, "SW 1.8 Rev 0", false, false, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.family);
    Sys().ClearForIdentification();
    const VkcDevice& device = Unit(c.key, c.firmware);
    Sys().WriteInt(VkcNodes::kProtocol, 2);
    const auto before = User();
    model.Refresh();
    EXPECT_EQ(C(M::kSensitivity).enabled, c.sensitivity);
    EXPECT_EQ(C(M::kResetDefault).enabled, c.reset);
    EXPECT_FALSE(C(M::kSeconds).enabled);
    EXPECT_EQ(C(M::kCallSign).enabled, c.callSign);
    EXPECT_EQ(C(M::kTransceiver).enabled, c.mode);
    EXPECT_EQ(C(M::kLoopBack).enabled, device.HasFeature(Sys(), 11));
    EXPECT_EQ(C(M::kDelay).enabled, device.HasFeature(Sys(), 10));
    EXPECT_EQ(C(M::kDetection).visible, device.HasFeature(Sys(), 17));
    EXPECT_EQ(C(M::kConnector).visible, device.HasFeature(Sys(), 16));
    ASSERT_TRUE(model.Apply());
    if (c.key == 2) {
      EXPECT_EQ(User(), before);  // nothing the unit lacks is written
    }
    const auto settled = User();
    model.Refresh();
    ASSERT_TRUE(model.Apply());
    EXPECT_EQ(User(), settled);
    EXPECT_TRUE(host.messages.empty());
  }
}

// A stored delay outside 20..1920 shows as 20; apply stores what is shown.
TEST_F(AdvancedWireless, TxStartDelayIsStoredAsShown) {
  const VkcDevice& device = Unit(4, "SW 3.1 Rev 0");
  ASSERT_TRUE(device.HasFeature(Sys(), 10));
  for (const auto& [stored, shown] : {std::pair{10, 20}, {5000, 20}, {1920, 1920}, {300, 300}}) {
    Sys().WriteInt(VkcNodes::kTxStartDelayCallSign, stored);
    model.Refresh();
    EXPECT_EQ(model.Controls().Text(M::kDelay), Utf8ToUtf16(std::to_string(shown))) << stored;
    ASSERT_TRUE(model.Apply());
    EXPECT_EQ(Sys().ReadInt(VkcNodes::kTxStartDelayCallSign), shown) << stored;
  }
}

TEST_F(AdvancedWireless, ResetTimeEncodingAndTheCustomSecondsCheck) {
  Unit(4, "SW 3.2 Rev 0");
  const struct {
    int stored;
    int shown;
    int written;
  } cases[] = {{0, 0, 0}, {61, 0, 0}, {-1, 1, -1}, {60, 2, 60}, {7, 2, 7}};
  for (const auto& c : cases) {
    Sys().WriteInt(VkcNodes::kSyncResetTime, c.stored);
    model.Refresh();
    EXPECT_EQ(C(M::kResetMode).selection, c.shown) << c.stored;
    EXPECT_EQ(C(M::kSeconds).enabled, c.shown == 2) << c.stored;
    ASSERT_TRUE(model.Apply());
    EXPECT_EQ(Sys().ReadInt(VkcNodes::kSyncResetTime), c.written) << c.stored;
  }
  // Custom 0: the class library's range message, then 5.
  model.Controls().Select(M::kResetMode, 2);
  model.Handle(M::kResetCustom, ControlEvent::Clicked);
  EXPECT_TRUE(C(M::kSeconds).enabled);
  Leave(M::kSeconds, u"0");
  EXPECT_EQ(host.LastMessage(), "Enter an integer between 1 and 60.");
  EXPECT_EQ(model.Controls().Text(M::kSeconds), u"5");
  ASSERT_TRUE(model.Apply());
  EXPECT_EQ(Sys().ReadInt(VkcNodes::kSyncResetTime), 5);
  model.Controls().Select(M::kResetMode, 0);
  model.Handle(M::kResetDefault, ControlEvent::Clicked);
  EXPECT_FALSE(C(M::kSeconds).enabled);
}

TEST_F(AdvancedWireless, CallSignCheckAndTheSharedNode) {
  Unit(4, "SW 3.2 Rev 0");
  Sys().At(VkcNodes::kTxStartDelayCallSign).SetString("OLD1");
  model.Refresh();
  EXPECT_EQ(model.Controls().Text(M::kCallSign), u"OLD1");
  const struct {
    const char16_t* typed;
    const char16_t* shown;
    bool message;
  } cases[] = {{u"AB-1", u"OLD1", true},        {u"AB 1", u"OLD1", true}, {u"ABCDEFGHIJK", u"OLD1", true},
               {u"K1ABC", u"K1ABC", false},       {u"ab1", u"K1ABC", true}, {u"", u"", false}, {u"K1ABC", u"K1ABC", false}};
  for (const auto& c : cases) {
    host.messages.clear();
    Leave(M::kCallSign, c.typed);
    EXPECT_EQ(model.Controls().Text(M::kCallSign), c.shown);
    EXPECT_EQ(host.LastMessage(), c.message ? kCallSignMessage : "");
  }
  // The delay and the call sign share one node: its integer and its text; both survive the archive.
  Leave(M::kDelay, u"5000");
  EXPECT_EQ(model.Controls().Text(M::kDelay), u"20");
  Leave(M::kDelay, u"200");
  ASSERT_TRUE(model.Apply());
  const CfgNode* node = Sys().Find(VkcNodes::kTxStartDelayCallSign);
  ASSERT_NE(node, nullptr);
  const bool delay = Sys().GetCurrentDevice()->HasFeature(Sys(), 10);
  if (delay) {
    EXPECT_EQ(node->GetInt(), 200);
  }
  EXPECT_EQ(node->GetString(), "K1ABC");
  VkcConfiguration copy;
  VkcMemoryStream stream(sim::SimUnitControlFiles::Archive(Sys().User()));
  VkcCfgArchiver ar;
  ar.Attach(stream, true);
  ASSERT_TRUE(copy.Load(ar));
  ar.Detach();
  EXPECT_EQ(copy.GetChild(2).GetChildAt(12).GetString(), "K1ABC");
  if (delay) {
    EXPECT_EQ(copy.GetChild(2).GetChildAt(12).GetInt(), 200);
  }
}

TEST_F(AdvancedWireless, AntennaDetectionEncoding) {
  EXPECT_EQ(M::DetectionIndex(7), 1);
  EXPECT_EQ(M::DetectionIndex(1), 0);
  EXPECT_EQ(M::DetectionIndex(2), 2);
  EXPECT_EQ(M::DetectionValue(0), 1);
  EXPECT_EQ(M::DetectionValue(1), 0);
  EXPECT_EQ(M::DetectionValue(2), 2);
  const VkcDevice& device = Unit(74, "SW 1.0 Rev 0");  // ONX401 shows the detection list
  ASSERT_TRUE(device.HasFeature(Sys(), 17));
  Sys().WriteInt(VkcNodes::kAntennaDetection, 7);
  model.Refresh();
  EXPECT_EQ(C(M::kDetection).selection, 1);
  ASSERT_TRUE(model.Apply());
  EXPECT_EQ(Sys().ReadInt(VkcNodes::kAntennaDetection), 0);
  model.Controls().Select(M::kDetection, 0);
  ASSERT_TRUE(model.Apply());
  EXPECT_EQ(Sys().ReadInt(VkcNodes::kAntennaDetection), 1);
}

}  // namespace
