// The program as main() builds it against a simulated unit behind an MCU: the Bluetooth name and
// the serial rate changed on their pages and sent reach the MCU; a send without changes writes no
// Bluetooth setting. (The rate change makes the unit answer at 9600 bit/s after its reboot, so the
// program finds it again at that rate: this test runs for over a minute.)

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

#include "ConnectionTestSupport.h"
#include "SimulatedTransceiver.h"
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

// Connect, identify, act on the pages, send; the commands the unit got from the send on.
std::vector<std::string> Session(SimulatedTransceiver& sim, const std::function<void(ModulinkDlg&)>& act) {
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
    ASSERT_NO_FATAL_FAILURE(ConnectAt115200(connection));
    VkcTopPPConfigDlg* panel = IdentifyFromConfigurations(dialog);
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(startup.System().GetProductId(), 4);
    ASSERT_TRUE(startup.Devices().GetMCUController().IsPresent());
    act(dialog);
    const size_t before = sim.unit.Commands().size();
    panel->SendButton()->click();
    const auto all = sim.unit.Commands();
    sent.assign(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    DisconnectAndClose(dialog, connection);
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
  SimulatedTransceiver sim({nullptr, true});
  const std::vector<std::string> unchanged = Session(sim, [](ModulinkDlg&) {});
  // The send points the MCU at the program's port first and puts the stored route back last.
  ASSERT_GE(unchanged.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(unchanged.begin() + 3, unchanged.begin() + 5),
            (std::vector<std::string>{"\nJLDEV CURPORT", "\nJLROUTE MDMUSB"}));
  EXPECT_EQ(std::vector<std::string>(unchanged.end() - 2, unchanged.end()),
            (std::vector<std::string>{"\nJLROUTE MDMSER", "\nMCU CLI OFF"}));
  EXPECT_FALSE(Sent(unchanged, "JLBT NAME ")) << ::testing::PrintToString(unchanged);
  EXPECT_FALSE(Sent(unchanged, "JLBT PIN "));
  EXPECT_EQ(sim.mcu->State().name, "Unit7");

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
  EXPECT_EQ(sim.mcu->State().name, "Base 9");
  EXPECT_EQ(sim.mcu->State().serialRate, "9600");
}

// A pasted name with a line break in it would be a second MCU command: the edit refuses it, and
// the name typed instead goes as one command.
TEST(McuPagesEndToEnd, APastedNameWithALineBreakNeverReachesTheMcu) {
  SimulatedTransceiver sim({nullptr, true});
  const std::vector<std::string> sent = Session(sim, [](ModulinkDlg& dialog) {
    ShowPage(dialog, u"Bluetooth");
    auto* name = Control<QLineEdit>(dialog.CurrentPage(), VkcPPBluetoothModel::kName);
    ASSERT_NE(name, nullptr);
    QApplication::clipboard()->setText(QStringLiteral("a\rINJ"));
    name->selectAll();
    name->paste();
    EXPECT_EQ(name->text(), QStringLiteral("Unit7"));
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Base 9"));
  });
  EXPECT_TRUE(Sent(sent, "JLBT NAME Base 9")) << ::testing::PrintToString(sent);
  EXPECT_FALSE(Sent(sent, "INJ"));
  EXPECT_EQ(sim.mcu->State().name, "Base 9");
}

}  // namespace
