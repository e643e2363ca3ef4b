// The GSM/GPRS and RTN pages on their models with a real connected unit and its images, and the
// RTN page end to end through its widgets: an NTRIP client configured and sent to a simulated unit.

#include <QComboBox>
#include <QCheckBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <string>

#include "NetworkServiceTestUnit.h"
#include "devices/VkcDeviceManager.h"
#include "link/Ansi.h"
#include "pages/VkcPPGSMGPRS.h"
#include "pages/VkcPPGSMGPRSModel.h"
#include "pages/VkcPPRTNServices.h"
#include "pages/VkcPPRTNServicesModel.h"
#include "support/FakePageHost.h"
#include "support/PageWidgets.h"
#include "unit/VkcGSMGPRSConfigController.h"
#include "unit/VkcISConfigController.h"

namespace {

using testsupport::FakePageHost;

bool Same(const CfgNode& a, const CfgNode& b) {
  if (a.GetType() != b.GetType() || a.GetScalar() != b.GetScalar() || a.GetString() != b.GetString() ||
      a.GetWString() != b.GetWString() || a.GetByteVector() != b.GetByteVector() ||
      a.GetChildCount() != b.GetChildCount()) {
    return false;
  }
  for (size_t i = 0; i < a.GetChildCount(); ++i) {
    if (!Same(a.ChildAt(i), b.ChildAt(i))) return false;
  }
  return true;
}

// A unit with the images of nettest::UserImage(), identified as model (no unit is talked to).
class ServicePage : public ::testing::Test {
 protected:
  void SetUp() override {
    VkcSystem& unit = host.System();
    unit.Factory().GetChild(0).GetChildAt(0).SetBytes(nettest::kSerial, 6);
    unit.User() = nettest::UserImage();
    unit.SetCurrentDevice(host.DeviceManager().GetDevice(49));
  }
  CfgNode& Row() { return host.System().User().GetChild(1).GetChildAt(1); }
  std::string Text(int group, int key) { return Row().GetChildAt(group).GetChildAt(key).GetString(); }
  template <class Model>
  void Leave(Model& model, int id, const std::u16string& text) {
    model.Controls().SetText(id, text);
    model.Handle(id, ControlEvent::FocusLost);
  }

  FakePageHost host;
};

TEST_F(ServicePage, GsmPageShowsTheUnitsValuesAndWritesThemBack) {
  CfgNode& gsm = Row().GetChildAt(8);
  gsm.GetChildAt(0).SetString("12\xE4");
  gsm.GetChildAt(1).SetString("internet");
  gsm.GetChildAt(2).SetString("me");
  gsm.GetChildAt(3).SetString("");
  gsm.GetChildAt(6).SetInt(2);
  VkcPPGSMGPRSModel page;
  page.SetHost(&host);
  page.Refresh();
  using M = VkcPPGSMGPRSModel;
  for (int id : {M::kBand, M::kPinCode, M::kApn, M::kLogin, M::kPassword}) EXPECT_TRUE(page.Controls().Get(id).enabled);
  EXPECT_EQ(page.Controls().Get(M::kBand).SelectedItem(), u"GSM 850MHz, DCS 1800MHz");
  EXPECT_EQ(page.Controls().Text(M::kPinCode), u"12\u00E4");
  EXPECT_EQ(page.Controls().Get(M::kPinCode).textLimit, 64);
  const VkcConfiguration before = host.System().User();
  ASSERT_TRUE(page.Apply());
  EXPECT_TRUE(Same(host.System().User().Root(), before.Root()));  // all five round-trip
  EXPECT_EQ(gsm.GetChildAt(3).GetType(), CfgNode::kTypeString);

  // A band this page cannot name shows none and goes back as it was read.
  gsm.GetChildAt(6).SetInt(9);
  page.Refresh();
  EXPECT_EQ(page.Controls().Selection(M::kBand), -1);
  ASSERT_TRUE(page.Apply());
  EXPECT_EQ(gsm.GetChildAt(6).GetInt(), 9);

  // Edits go to the holder as they are left; a refused one brings its message and the old text.
  struct Case {
    int id;
    const char* message;
  };
  for (const Case& c : {Case{M::kPinCode, "Not valid Pin code.\r\n"}, Case{M::kApn, "Not valid APN.\r\n"},
                        Case{M::kLogin, "Not valid Login.\r\n"}, Case{M::kPassword, "Not valid Password.\r\n"}}) {
    host.messages.clear();
    Leave(page, c.id, std::u16string(64, u'x'));
    EXPECT_TRUE(host.messages.empty());
    Leave(page, c.id, std::u16string(65, u'y'));
    EXPECT_EQ(host.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(page.Controls().Text(c.id), std::u16string(64, u'x'));
  }
  EXPECT_EQ(host.System().GetGsmGprsController()->Settings().login, std::u16string(64, u'x'));
}

TEST_F(ServicePage, GsmPageOfAUnitWithoutNetworkServicesIsDisabledAndWritesNothing) {
  host.System().SetCurrentDevice(host.DeviceManager().GetDevice(4));
  VkcPPGSMGPRSModel page;
  page.SetHost(&host);
  page.Refresh();
  EXPECT_FALSE(page.Controls().Get(VkcPPGSMGPRSModel::kApn).enabled);
  page.Controls().SetText(VkcPPGSMGPRSModel::kApn, u"typed");
  const VkcConfiguration before = host.System().User();
  ASSERT_TRUE(page.Apply());
  EXPECT_TRUE(Same(host.System().User().Root(), before.Root()));
}

TEST_F(ServicePage, RtnPageOfAnUnknownStoredServiceIsDisabledAndWritesNothing) {
  VkcPPRTNServicesModel page;
  page.SetHost(&host);
  page.Refresh();  // the TCP client, loaded
  Row().GetChildAt(12).GetChildAt(0).SetInt(3);
  page.Refresh();
  using M = VkcPPRTNServicesModel;
  for (int id : {M::kService, M::kAutorun, M::kHost, M::kPort, M::kLogin, M::kPassword, M::kMountPoint, M::kNmea}) {
    EXPECT_FALSE(page.Controls().Get(id).enabled) << id;
  }
  const VkcConfiguration before = host.System().User();
  ASSERT_TRUE(page.Apply());
  EXPECT_TRUE(Same(host.System().User().Root(), before.Root()));
}

TEST_F(ServicePage, RtnPageSwitchesServicesSavingTheOneShownFirst) {
  Row().GetChildAt(12).GetChildAt(0).SetInt(1);
  VkcPPRTNServicesModel page;
  page.SetHost(&host);
  page.Refresh();
  using M = VkcPPRTNServicesModel;
  EXPECT_EQ(page.Controls().Selection(M::kService), 1);
  EXPECT_EQ(page.Controls().Text(M::kPort), u"2101");
  EXPECT_TRUE(page.Controls().Get(M::kNmea).enabled);
  page.Controls().SetText(M::kHost, u"caster.example");
  page.Controls().SetText(M::kPort, u"2102");
  page.Controls().Select(M::kService, 2);
  page.Handle(M::kService, ControlEvent::SelectionChanged);
  EXPECT_EQ(Text(9, 0), "caster.example");
  EXPECT_EQ(Text(9, 1), "2102");
  EXPECT_EQ(Row().GetChildAt(12).GetChildAt(0).GetInt(), 1);  // the stored kind changes at the next apply
  EXPECT_EQ(page.Controls().Text(M::kPort), u"6000");
  EXPECT_EQ(page.Controls().Text(M::kLogin), u"srv1");
  for (int id : {M::kHost, M::kMountPoint, M::kNmea}) {
    EXPECT_FALSE(page.Controls().Get(id).enabled) << id;
    EXPECT_EQ(page.Controls().Text(id), u"") << id;
  }
  page.Controls().SetCheck(M::kAutorun, true);
  ASSERT_TRUE(page.Apply());
  EXPECT_EQ(Row().GetChildAt(12).GetChildAt(0).GetInt(), 2);
  EXPECT_EQ(Row().GetChildAt(12).GetChildAt(1).GetInt(), 1);
  EXPECT_EQ(Row().GetChildAt(3).GetChildAt(9).GetInt(), 4);  // routing is the unit's own
}

TEST_F(ServicePage, RtnPageChecksEachEditAsItIsLeft) {
  Row().GetChildAt(12).GetChildAt(0).SetInt(1);
  VkcPPRTNServicesModel page;
  page.SetHost(&host);
  page.Refresh();
  using M = VkcPPRTNServicesModel;
  struct Case {
    int id;
    std::u16string refused;
    const char* message;
    std::u16string previous;
  };
  const Case cases[] = {
      {M::kHost, std::u16string(65, u'h'), "Not valid Host name.\r\n", u"ntrip0"},
      {M::kLogin, std::u16string(65, u'l'), "Not valid Login.\r\n", u"ntrip2"},
      {M::kPassword, std::u16string(65, u'p'), "Not valid Password.\r\n", u"ntrip3"},
      {M::kMountPoint, std::u16string(65, u'm'), "Not valid Mount Point.\r\n", u"ntrip4"},
      {M::kNmea, std::u16string(129, u'n'), "Not valid NMEA GGA message.\r\n", u"ntrip5"},
      {M::kPort, u"70000", "Enter an integer between 1 and 65535.", u"2101"},
      {M::kPort, u"0", "Enter an integer between 1 and 65535.", u"2101"},
      {M::kPort, u"", "Enter an integer between 1 and 65535.", u"2101"},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    Leave(page, c.id, c.refused);
    EXPECT_EQ(host.messages, std::vector<std::string>{c.message}) << c.id;
    EXPECT_EQ(page.Controls().Text(c.id), c.previous) << c.id;
  }
  // A value that passes is in the controller at once, before any apply.
  Leave(page, M::kPort, u"65535");
  EXPECT_EQ(host.System().GetConfigController(0)->GetPort(0), 65535);
}

TEST_F(ServicePage, RtnApplyStoresWhatPassesAndIgnoresRefusals) {
  Row().GetChildAt(12).GetChildAt(0).SetInt(1);
  VkcPPRTNServicesModel page;
  page.SetHost(&host);
  page.Refresh();
  using M = VkcPPRTNServicesModel;
  page.Controls().SetText(M::kNmea, std::u16string(200, u'n'));
  page.Controls().SetText(M::kLogin, u"new login");
  ASSERT_TRUE(page.Apply());
  EXPECT_EQ(Text(9, 5), "ntrip5");
  EXPECT_EQ(Text(9, 2), "new login");
}

// Configure an NTRIP client through the page's widgets, send: the unit holds the values.
TEST(RtnPageEndToEnd, NtripClientConfiguredOnThePageReachesTheUnit) {
  nettest::ScopedTimeScale scale(0.05);
  nettest::SimGsmUnit sim;
  FakePageHost host;
  ASSERT_TRUE(sim.Connect(host));
  VkcPPRTNServices page;
  page.SetPageHost(&host);
  page.RefreshPage();
  using M = VkcPPRTNServicesModel;
  auto* service = page.findChild<QComboBox*>(QStringLiteral("ctl%1").arg(M::kService));
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(service->currentText(), QStringLiteral("TCP client"));
  service->setCurrentIndex(1);
  emit service->activated(1);
  auto edit = [&page](int id) { return page.findChild<QLineEdit*>(QStringLiteral("ctl%1").arg(id)); };
  EXPECT_EQ(edit(M::kHost)->text(), QStringLiteral("ntrip0"));
  // Every text of the service goes into the unit's command lines (the RTN utility sends them).
  for (int id : {M::kHost, M::kLogin, M::kPassword, M::kMountPoint, M::kNmea})
    EXPECT_TRUE(testsupport::RefusesControlCharacters(edit(id))) << id;
  EXPECT_EQ(edit(M::kHost)->text(), QStringLiteral("ntrip0"));
  edit(M::kHost)->setText(QStringLiteral("caster.example"));
  edit(M::kPort)->setText(QStringLiteral("2102"));
  edit(M::kLogin)->setText(QStringLiteral("user"));
  edit(M::kPassword)->setText(QStringLiteral("secret"));
  edit(M::kMountPoint)->setText(QStringLiteral("MP1"));
  edit(M::kNmea)->setText(QStringLiteral("$GPGGA,1"));
  page.findChild<QCheckBox*>(QStringLiteral("ctl%1").arg(M::kAutorun))->setChecked(true);
  ASSERT_TRUE(page.ApplyPage());

  platform::Event stop(platform::Event::ResetMode::Manual);
  ASSERT_EQ(host.System().Process(VkcSystem::kOpWriteConfiguration, VkcSystem::kImageUser, platform::kNoWindow, stop), 0u);
  VkcConfiguration held = sim.Held();
  CfgNode& row = held.GetChild(1).GetChildAt(1);
  const char* expected[] = {"caster.example", "2102", "user", "secret", "MP1", "$GPGGA,1"};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(row.GetChildAt(9).GetChildAt(k).GetString(), expected[k]) << k;
  EXPECT_EQ(row.GetChildAt(12).GetChildAt(0).GetInt(), 1);
  EXPECT_EQ(row.GetChildAt(12).GetChildAt(1).GetInt(), 1);
  EXPECT_EQ(row.GetChildAt(10).GetChildAt(0).GetString(), "tcp0");  // the TCP client as it was

  VkcPPGSMGPRS gsm;
  gsm.SetPageHost(&host);
  gsm.RefreshPage();
  using G = VkcPPGSMGPRSModel;
  for (int id : {G::kPinCode, G::kApn, G::kLogin, G::kPassword})
    EXPECT_TRUE(testsupport::RefusesControlCharacters(testsupport::Control<QLineEdit>(&gsm, id))) << id;
}

}  // namespace
