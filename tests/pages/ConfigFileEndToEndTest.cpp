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
#include <fstream>

#include "ConnectionTestSupport.h"
#include "SimulatedTransceiver.h"
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

using Images = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

// One run of the program: connect, identify, then what the test does under Configurations, then
// "Send settings to radio". Returns what the unit received.
Images Session(SimulatedTransceiver& sim, const std::function<void(ModulinkDlg&, VkcTopPPConfigDlg&)>& act) {
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
    ASSERT_NO_FATAL_FAILURE(ConnectAt115200(connection));
    VkcTopPPConfigDlg* panel = IdentifyFromConfigurations(dialog);
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(startup.System().GetProductId(), 4);
    act(dialog, *panel);
    panel->SendButton()->click();
    DisconnectAndClose(dialog, connection);
  });
  const Images all = sim.files->Received();
  return Images(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
}

TEST(ConfigFileEndToEnd, AModemSettingIsSentSavedLoadedIntoAFreshProgramAndSentAlike) {
  platform::SetTimeScale(0.05);
  SimulatedTransceiver sim;
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

// A factory file made on another unit, loaded between two edits of the Modem page: the send
// carries the file's factory image first, then both edits.
TEST(ConfigFileEndToEnd, EditsAroundAFactoryFileLoadAreSentWithTheFile) {
  platform::SetTimeScale(0.05);
  SimulatedTransceiver sim;
  ASSERT_TRUE(sim.unit.IsOk());
  VkcConfiguration factory;
  std::string message;
  ASSERT_TRUE(VkcConfigFile::Parse(sim.files->Section(0), factory, message)) << message;
  const uint8_t other[6] = {0x77, 0x66, 0x55, 0x44, 0x33, 0x22};
  factory.Root().GetChildAt(0).GetChildAt(0).SetBytes(other, sizeof other);
  testsupport::TempDir files;
  const std::string path = files.File("other.VKF");
  {
    const std::vector<uint8_t> bytes = VkcConfigFile::Serialize(factory);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  }
  VkcConfigFileDialogs::SetRunnerForTest([&](QFileDialog&) { return QString::fromStdString(path); });

  const Images sent = Session(sim, [&](ModulinkDlg& dialog, VkcTopPPConfigDlg& panel) {
    dialog.PageStrip()->setCurrentIndex(dialog.PageStrip()->FindTab(QStringLiteral("Modem")));
    auto* modem = qobject_cast<VkcPPModem*>(dialog.CurrentPage());
    ASSERT_NE(modem, nullptr);
    Control<QCheckBox>(modem, VkcPPModemModel::kSleep)->click();
    auto* inactivity = Control<QLineEdit>(modem, VkcPPModemModel::kInactivity);
    inactivity->setFocus();
    inactivity->selectAll();
    QTest::keyClicks(inactivity, QStringLiteral("5000"));
    panel.LoadButton()->click();
    auto* control = Control<QCheckBox>(modem, VkcPPModemModel::kControlLine);
    ASSERT_TRUE(control->isEnabled());
    ASSERT_FALSE(control->isChecked());
    control->click();
  });
  VkcConfigFileDialogs::SetRunnerForTest({});
  platform::SetTimeScale(1.0);

  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].first, "DFCFG");
  EXPECT_EQ(sent[2].first, "CFGDN");
  VkcUnitImages images;
  ASSERT_TRUE(VkcConfigFile::Parse(sent[0].second, images.Factory(), message)) << message;
  ASSERT_TRUE(VkcConfigFile::Parse(sent[2].second, images.User(), message)) << message;
  EXPECT_EQ(images.GetSerialNumber(), UnitId(other));
  EXPECT_EQ(images.ReadInt(VkcNodes::kSleepInactivity), 50);
  EXPECT_EQ(images.ReadInt(VkcNodes::kSleepWakeByControl), 1);
}

}  // namespace
