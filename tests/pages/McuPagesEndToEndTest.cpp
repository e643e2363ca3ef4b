// The program as main() builds it against a simulated unit behind an MCU: the Bluetooth name and
// the serial rate changed on their pages and sent reach the MCU; a send without changes writes no
// Bluetooth setting. (The rate change makes the unit answer at 9600 bit/s after its reboot, so the
// program finds it again at that rate: this test runs for over a minute.)

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

#include "ConnectionTestSupport.h"
#include "app/ModulinkDlg.h"
#include "app/ModulinkStartup.h"
#include "app/VkcHorizontalTabControl.h"
#include "app/VkcTopPPConfigDlg.h"
#include "app/VkcVerticalTabControl.h"
#include "link/Utf.h"
#include "pages/ModulinkPages.h"
#include "pages/VkcPPBluetoothModel.h"
#include "pages/VkcPPConnection.h"
#include "pages/VkcPPSerialModel.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimIdent.h"
#include "sim/SimMcu.h"
#include "sim/SimUnit.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"
#include "support/TestSupport.h"
#include "support/PageWidgets.h"

using namespace conntest;

namespace {

using testsupport::Control;

using testsupport::ConfigHome;

// A VK400 behind an MCU with a serial port and Bluetooth.
struct SimulatedMcuUnit {
  sim::SimUnit unit;
  sim::SimUnitControl control{unit};
  sim::SimMcu mcu{unit, sim::McuState{}};
  std::unique_ptr<sim::SimIdent> ident;
  std::unique_ptr<sim::SimUnitControlFiles> files;

  SimulatedMcuUnit() {
    sim::IdentOptions options;
    options.modelKey = "4";
    ident = std::make_unique<sim::SimIdent>(unit, options, &mcu);
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
  ~SimulatedMcuUnit() { files->StopTransfer(); }
};

// Connect, identify, act on the pages, send; the commands the unit got from the send on.
std::vector<std::string> Session(SimulatedMcuUnit& sim, const std::function<void(ModulinkDlg&)>& act) {
  ConfigHome home;
  ScopedPorts ports({Port(sim.unit.SlavePath16(), u"Simulated unit")});
  std::vector<std::string> sent;
  ModulinkStartup startup;
  startup.App().SetMessageBoxFunction([](const std::u16string& text, unsigned flags) {
    if ((flags & 0xF) == 4) return 6;
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
    ASSERT_TRUE(startup.Devices().GetMCUController().IsPresent());
    act(dialog);
    const size_t before = sim.unit.Commands().size();
    panel->SendButton()->click();
    const auto all = sim.unit.Commands();
    sent.assign(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    dialog.GroupStrip()->setCurrentIndex(dialog.GroupStrip()->FindTab(QStringLiteral("Preferences")));
    Control<QPushButton>(connection, 1131)->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(connection, 1226)->text() == "Ready to connect."; }, 5000));
    dialog.reject();
  });
  return sent;
}

bool Sent(const std::vector<std::string>& sent, const std::string& text) {
  for (const std::string& line : sent)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

void ShowPage(ModulinkDlg& dialog, const char16_t* title) {
  dialog.PageStrip()->setCurrentIndex(dialog.PageStrip()->FindTab(QString::fromStdU16String(title)));
}

TEST(McuPagesEndToEnd, BluetoothNameAndSerialRateReachTheMcuOnlyWhenChanged) {
  SimulatedMcuUnit sim;
  const std::vector<std::string> unchanged = Session(sim, [](ModulinkDlg&) {});
  // The send points the MCU at the program's port first and puts the stored route back last.
  ASSERT_GE(unchanged.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(unchanged.begin() + 3, unchanged.begin() + 5),
            (std::vector<std::string>{"\nJLDEV CURPORT", "\nJLROUTE MDMUSB"}));
  EXPECT_EQ(std::vector<std::string>(unchanged.end() - 2, unchanged.end()),
            (std::vector<std::string>{"\nJLROUTE MDMSER", "\nMCU CLI OFF"}));
  EXPECT_FALSE(Sent(unchanged, "JLBT NAME ")) << ::testing::PrintToString(unchanged);
  EXPECT_FALSE(Sent(unchanged, "JLBT PIN "));
  EXPECT_EQ(sim.mcu.State().name, "Unit7");

  const std::vector<std::string> changed = Session(sim, [](ModulinkDlg& dialog) {
    ShowPage(dialog, u"Bluetooth");
    auto* name = Control<QLineEdit>(dialog.CurrentPage(), VkcPPBluetoothModel::kName);
    ASSERT_NE(name, nullptr);
    ASSERT_TRUE(name->isEnabled());
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Base 9"));
    ShowPage(dialog, u"Serial Interface");
    auto* rate = Control<QComboBox>(dialog.CurrentPage(), VkcPPSerialModel::kDataRate);
    ASSERT_NE(rate, nullptr);
    const int at = rate->findText(QStringLiteral("9600"));
    ASSERT_GE(at, 0);
    rate->setCurrentIndex(at);
    emit rate->activated(at);
  });
  EXPECT_TRUE(Sent(changed, "JLBT NAME Base 9")) << ::testing::PrintToString(changed);
  EXPECT_EQ(sim.mcu.State().name, "Base 9");
  EXPECT_EQ(sim.mcu.State().serialRate, "9600");
}

}  // namespace
