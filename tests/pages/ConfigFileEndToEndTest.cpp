// The program as main() builds it against the simulated unit: a Modem setting changed and sent,
// saved to a configuration file, loaded into a fresh program and sent again.

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

#include "ConnectionTestSupport.h"
#include "app/ModulinkDlg.h"
#include "app/ModulinkStartup.h"
#include "app/VkcConfigFileDialogs.h"
#include "app/VkcHorizontalTabControl.h"
#include "app/VkcTopPPConfigDlg.h"
#include "app/VkcVerticalTabControl.h"
#include "link/Utf.h"
#include "pages/ModulinkPages.h"
#include "pages/VkcPPConnection.h"
#include "pages/VkcPPModem.h"
#include "platform/Timing.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"
#include "support/TestSupport.h"
#include "unit/VkcConfigFile.h"
#include "support/PageWidgets.h"

using namespace conntest;

namespace {

using testsupport::Control;

using testsupport::ConfigHome;

// A VK400 (a transmitter with alarm outputs) serving its three images.
struct SimulatedVk400 {
  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<sim::SimUnitControlFiles> files;

  SimulatedVk400() {
    sim::IdentOptions options;
    options.modelKey = "4";
    ident = std::make_unique<sim::SimIdent>(unit, options);
    files = std::make_unique<sim::SimUnitControlFiles>(unit);
    VkcConfiguration factory, dealer, user;
    const uint8_t serial[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    factory.GetChild(0).GetChildAt(0).SetBytes(serial, sizeof serial);
    dealer.GetChild(0).SetInt(4);
    user.GetChild(0).GetChildAt(0).SetString("IMAGE 1.2");
    user.GetChild(1).GetChildAt(0).SetBytes(serial, sizeof serial);
    files->SetSection(0, sim::SimUnitControlFiles::Archive(factory));
    files->SetSection(1, sim::SimUnitControlFiles::Archive(dealer));
    files->SetSection(2, sim::SimUnitControlFiles::Archive(user));
    sim::RebootOptions reboot;
    reboot.bannerDelayMs = 3000;
    sim::InstallReboot(unit, reboot);
  }
  ~SimulatedVk400() { files->StopTransfer(); }
};

using Images = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

// One run of the program: connect, identify, then what the test does under Configurations, then
// "Send settings to radio". Returns what the unit received.
Images Session(SimulatedVk400& sim, const std::function<void(ModulinkDlg&, VkcTopPPConfigDlg&)>& act) {
  ConfigHome home;
  ScopedPorts ports({Port(sim.unit.SlavePath16(), u"Simulated unit")});
  const size_t before = sim.files->Received().size();
  ModulinkStartup startup;
  startup.App().SetMessageBoxFunction([](const std::u16string& text, unsigned flags) {
    if ((flags & 0xF) == 4) return 6;  // Yes to the exit question
    ADD_FAILURE() << "message: " << Utf16ToUtf8(text);
    return 1;
  });
  startup.Run(AttachPages, [&](ModulinkDlg& dialog) {
    auto* connection = qobject_cast<VkcPPConnection*>(dialog.CurrentPage());
    ASSERT_NE(connection, nullptr);
    auto* rate = Control<QComboBox>(connection, 1018);
    rate->setCurrentIndex(rate->findText(QStringLiteral("115200")));
    emit rate->activated(rate->currentIndex());
    Control<QPushButton>(connection, 1131)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(connection, 1226)->text() == "Connected."; }, 5000));
    dialog.GroupStrip()->setCurrentIndex(dialog.GroupStrip()->FindTab(QStringLiteral("Configurations")));
    auto* panel = qobject_cast<VkcTopPPConfigDlg*>(dialog.CurrentPanel());
    ASSERT_NE(panel, nullptr);
    panel->IdentifyButton()->click();
    ASSERT_EQ(startup.System().GetProductId(), 4);
    act(dialog, *panel);
    panel->SendButton()->click();
    dialog.GroupStrip()->setCurrentIndex(dialog.GroupStrip()->FindTab(QStringLiteral("Preferences")));
    Control<QPushButton>(connection, 1131)->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(connection, 1226)->text() == "Ready to connect."; }, 5000));
    dialog.reject();
  });
  const Images all = sim.files->Received();
  return Images(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
}

TEST(ConfigFileEndToEnd, AModemSettingIsSentSavedLoadedIntoAFreshProgramAndSentAlike) {
  platform::SetTimeScale(0.05);
  SimulatedVk400 sim;
  ASSERT_TRUE(sim.unit.IsOk());
  testsupport::TempDir files;
  const QString path = QString::fromStdString(files.File("unit.VKN"));
  VkcConfigFileDialogs::SetRunnerForTest([&](QFileDialog&) { return path; });
  const std::vector<uint8_t> original[3] = {sim.files->Section(0), sim.files->Section(1), sim.files->Section(2)};

  const Images first = Session(sim, [&](ModulinkDlg& dialog, VkcTopPPConfigDlg& panel) {
    dialog.PageStrip()->setCurrentIndex(dialog.PageStrip()->FindTab(QStringLiteral("Modem")));
    auto* modem = qobject_cast<VkcPPModem*>(dialog.CurrentPage());
    ASSERT_NE(modem, nullptr);
    auto* sleep = Control<QCheckBox>(modem, VkcPPModemModel::kSleep);
    ASSERT_TRUE(sleep->isEnabled());
    ASSERT_FALSE(sleep->isChecked());
    sleep->click();
    auto* inactivity = Control<QLineEdit>(modem, VkcPPModemModel::kInactivity);
    inactivity->setFocus();
    inactivity->selectAll();
    QTest::keyClicks(inactivity, QStringLiteral("5000"));
    panel.SaveButton()->click();
  });
  // The unit as it was before the first send: only the file carries the change.
  for (int section : {1, 2}) sim.files->SetSection(section, original[section]);
  const Images second = Session(sim, [&](ModulinkDlg&, VkcTopPPConfigDlg& panel) { panel.LoadButton()->click(); });
  VkcConfigFileDialogs::SetRunnerForTest({});
  platform::SetTimeScale(1.0);

  // The unit received the change.
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].first, "DDCFG");
  EXPECT_EQ(first[1].first, "CFGDN");
  VkcConfiguration sent;
  std::string message;
  ASSERT_TRUE(VkcConfigFile::Parse(first[1].second, sent, message)) << message;
  VkcUnitImages images;
  images.User() = sent;
  EXPECT_EQ(images.ReadInt(VkcNodes::kSleepInactivity), 50);

  // The file loaded into a fresh program sends the same images.
  EXPECT_EQ(second, first);
  EXPECT_TRUE(sim.files->HeaderErrors().empty());
}

}  // namespace
