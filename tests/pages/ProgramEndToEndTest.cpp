// The program's objects as main() builds them, driven through the widgets against the simulated
// unit on a pseudo-terminal, with the settings in a temporary folder.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "ConnectionTestSupport.h"
#include "SimulatedTransceiver.h"
#include "app/ModulinkDlg.h"
#include "app/ModulinkStartup.h"
#include "app/VkcMainDocument.h"
#include "app/VkcVerticalTabControl.h"
#include "link/Utf.h"
#include "pages/ModulinkPages.h"
#include "pages/VkcPPConnection.h"
#include "platform/Files.h"
#include "platform/SettingsLocation.h"
#include "app/VkcTopPPConfigDlg.h"
#include "app/VkcTopPPUtilsDlg.h"
#include "link/VkcConfiguration.h"
#include "platform/Timing.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimGateway.h"
#include "sim/SimGnss.h"
#include "sim/SimIdent.h"
#include "sim/SimUnitControl.h"
#include "sim/SimUnitControlFiles.h"
#include "sim/SimUnit.h"
#include "support/PageWidgets.h"

using namespace conntest;

namespace {

using testsupport::Control;

void Choose(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

struct ScopedTimeScale {
  explicit ScopedTimeScale(double scale) { platform::SetTimeScale(scale); }
  ~ScopedTimeScale() { platform::SetTimeScale(1.0); }
};

TEST(ProgramEndToEnd, SerialSessionIsStoredInTheSettingsFile) {
  testsupport::ConfigHome home;
  ScopedTimeScale fast(0.05);
  SimulatedTransceiver sim({"CALL"});
  sim::SimUnit& unit = sim.unit;
  ASSERT_TRUE(unit.IsOk());
  ScopedPorts ports({Port(u"/dev/ttyS0", u"Communications Port"), Port(unit.SlavePath16(), u"Simulated unit")});
  Messages messages;
  std::string status;
  std::string connectedTitle, identifiedTitle;
  std::vector<std::string> beforeSend, afterSend;
  bool closed = false;
  {
    ModulinkStartup startup;
    startup.App().SetMessageBoxFunction([&](const std::u16string& text, unsigned flags) {
      messages.shown.push_back(text);
      return (flags & 0xF) == 4 ? 6 : 1;  // Yes to the exit question
    });
    startup.Run(AttachPages, [&](ModulinkDlg& dialog) {
      EXPECT_TRUE(dialog.isVisible());
      auto* page = qobject_cast<VkcPPConnection*>(dialog.CurrentPage());
      ASSERT_NE(page, nullptr);
      // Default settings: the first port in key order is chosen and stored.
      EXPECT_EQ(startup.App().Setting("Serial Interface", "Port").GetWString(), unit.SlavePath16());
      Choose(Control<QComboBox>(page, 1016), QStringLiteral("Communications Port"));
      EXPECT_EQ(startup.App().Setting("Serial Interface", "Port").GetWString(), u"/dev/ttyS0");
      Choose(Control<QComboBox>(page, 1016), QStringLiteral("Simulated unit"));
      Choose(Control<QComboBox>(page, 1018), QStringLiteral("115200"));
      Control<QPushButton>(page, 1131)->click();
      EXPECT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(page, 1226)->text() == "Connected."; }, 5000));
      EXPECT_EQ(Control<QPushButton>(page, 1131)->text(), QStringLiteral("DisConnect"));
      EXPECT_FALSE(Control<QComboBox>(page, 1016)->isEnabled());
      EXPECT_EQ(unit.LineRate(), 115200u);
      connectedTitle = dialog.windowTitle().toStdString();

      // Identify from the Preferences panel: a progress dialog runs the identification.
      auto* utils = qobject_cast<VkcTopPPUtilsDlg*>(dialog.CurrentPanel());
      ASSERT_NE(utils, nullptr);
      utils->IdentifyButton()->click();
      identifiedTitle = dialog.windowTitle().toStdString();
      EXPECT_EQ(startup.System().GetProductId(), 4);

      // The Configurations panel sends the settings back.
      dialog.GroupStrip()->setCurrentIndex(dialog.GroupStrip()->FindTab(QStringLiteral("Configurations")));
      auto* config = qobject_cast<VkcTopPPConfigDlg*>(dialog.CurrentPanel());
      ASSERT_NE(config, nullptr);
      EXPECT_TRUE(config->SendButton()->isEnabled());
      beforeSend = unit.Commands();
      config->SendButton()->click();
      afterSend = unit.Commands();
      EXPECT_FALSE(dialog.IsProcessRunning());

      dialog.GroupStrip()->setCurrentIndex(dialog.GroupStrip()->FindTab(QStringLiteral("Preferences")));
      Control<QPushButton>(page, 1131)->click();
      EXPECT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(page, 1226)->text() == "Ready to connect."; }, 5000));
      status = Control<QLabel>(page, 1226)->text().toStdString();
      EXPECT_FALSE(startup.SerialPort().IsOpen());
      dialog.findChild<QPushButton*>(QStringLiteral("ctl1"))->click();
      closed = !dialog.isVisible();
    });
  }
  EXPECT_TRUE(closed);
  EXPECT_EQ(status, "Ready to connect.");
  const std::string portName = unit.SlavePath().substr(unit.SlavePath().rfind('/') + 1);
  EXPECT_EQ(connectedTitle, "Modulink - " + portName);
  EXPECT_EQ(identifiedTitle, "Modulink - " + portName + "  (12-34-56-78-9A-BC)");
  // The unit received both images, then was rebooted and identified again.
  std::vector<std::string> sent(afterSend.begin() + static_cast<std::ptrdiff_t>(beforeSend.size()), afterSend.end());
  auto has = [&](const std::string& text) {
    for (const std::string& line : sent)
      if (line.find(text) != std::string::npos) return true;
    return false;
  };
  EXPECT_TRUE(has("XMOD DDCFG")) << ::testing::PrintToString(sent);
  EXPECT_TRUE(has("XMOD CFGDN"));
  EXPECT_TRUE(has("BOOT"));
  const auto received = sim.files->Received();
  ASSERT_GE(received.size(), 2u);
  EXPECT_EQ(received[0].first, "DDCFG");
  EXPECT_EQ(received[1].first, "CFGDN");
  EXPECT_TRUE(sim.files->HeaderErrors().empty());
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_EQ(messages.Last(), "Do you want to exit the program?\nAll unsaved data will be lost");
  std::vector<std::string> texts;
  for (const auto& m : messages.shown) texts.push_back(Utf16ToUtf8(m));
  EXPECT_EQ(messages.shown.size(), 1u) << ::testing::PrintToString(texts);

  // The stored file holds the choices.
  ModulinkApp reread;
  EXPECT_EQ(reread.SettingsPath(), platform::SettingsFilePath());
  ASSERT_TRUE(reread.LoadSettings());
  EXPECT_EQ(reread.Setting("Serial Interface", "Port").GetWString(), unit.SlavePath16());
  EXPECT_EQ(reread.Setting("Serial Interface", "Rate").GetInt(), 115200);
  EXPECT_EQ(reread.Setting("Serial Interface", "Interface").GetInt(), 1);
  EXPECT_EQ(reread.Setting("Connection Settings", "Type").GetInt(), 0);
}

void Type(QLineEdit* edit, const QString& text, QWidget* next) {
  QApplication::setActiveWindow(edit->window());
  edit->setFocus();
  QApplication::processEvents();
  edit->selectAll();
  QTest::keyClicks(edit, text);
  next->setFocus();
  QApplication::processEvents();
}

TEST(ProgramEndToEnd, TcpSessionThroughTheGateway) {
  testsupport::ConfigHome home;
  ScopedTimeScale fast(0.05);
  SimulatedTransceiver sim({"CALL"});
  sim::SimUnit& unit = sim.unit;
  sim::SimGateway gateway(&unit);
  ASSERT_TRUE(unit.IsOk() && gateway.IsOk());
  gateway.SetCredentials("surveyor", "s3cret");
  ScopedPorts ports({});
  Messages messages;
  std::string title;
  std::vector<std::string> logins;
  {
    ModulinkStartup startup;
    startup.App().SetMessageBoxFunction([&](const std::u16string& text, unsigned flags) {
      messages.shown.push_back(text);
      return (flags & 0xF) == 4 ? 6 : 1;
    });
    startup.Run(AttachPages, [&](ModulinkDlg& dialog) {
      auto* page = qobject_cast<VkcPPConnection*>(dialog.CurrentPage());
      ASSERT_NE(page, nullptr);
      startup.App().Setting("Serial Interface", "Rate").SetInt(9600);
      Choose(Control<QComboBox>(page, 1180), QStringLiteral("TCP"));
      EXPECT_EQ(startup.App().CurrentPort(), &startup.TcpClient());
      auto* address = Control<QLineEdit>(page, 1200);
      auto* port = Control<QLineEdit>(page, 1158);
      auto* user = Control<QLineEdit>(page, 1198);
      auto* password = Control<QLineEdit>(page, 1183);
      ASSERT_TRUE(address->isVisible());
      Type(address, QStringLiteral("127.0.0.1"), port);
      Type(port, QString::number(gateway.Port()), user);
      Type(user, QStringLiteral("surveyor"), password);
      Type(password, QStringLiteral("s3cret"), address);
      Control<QPushButton>(page, 1131)->click();
      EXPECT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(page, 1226)->text() == "Connected."; }, 20000));
      logins = gateway.LoginLines();
      qobject_cast<VkcTopPPUtilsDlg*>(dialog.CurrentPanel())->IdentifyButton()->click();
      title = dialog.windowTitle().toStdString();
      dialog.GroupStrip()->setCurrentIndex(dialog.GroupStrip()->FindTab(QStringLiteral("Configurations")));
      qobject_cast<VkcTopPPConfigDlg*>(dialog.CurrentPanel())->SendButton()->click();
      dialog.GroupStrip()->setCurrentIndex(dialog.GroupStrip()->FindTab(QStringLiteral("Preferences")));
      Control<QPushButton>(page, 1131)->click();
      EXPECT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(page, 1226)->text() == "Ready to connect."; }, 20000));
      dialog.reject();
    });
  }
  EXPECT_EQ(logins, (std::vector<std::string>{"surveyor", "s3cret"}));
  EXPECT_EQ(title, "Modulink - 127.0.0.1:" + std::to_string(gateway.Port()) + "  (12-34-56-78-9A-BC)");
  const auto received = sim.files->Received();
  ASSERT_GE(received.size(), 2u);
  EXPECT_EQ(received[0].first, "DDCFG");
  EXPECT_EQ(received[1].first, "CFGDN");
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.Last(), "Do you want to exit the program?\nAll unsaved data will be lost");

  ModulinkApp reread;
  ASSERT_TRUE(reread.LoadSettings());
  EXPECT_EQ(reread.Setting("Connection Settings", "Type").GetInt(), 1);
  EXPECT_EQ(reread.Setting("TCP Interface", "Address").GetWString(), u"127.0.0.1");
  EXPECT_EQ(reread.Setting("TCP Interface", "Port").GetInt(), gateway.Port());
  EXPECT_EQ(reread.Setting("TCP Interface", "UserName").GetWString(), u"surveyor");
  // Identifying over TCP (no rate) keeps the serial rate.
  EXPECT_EQ(reread.Setting("Serial Interface", "Rate").GetInt(), 9600);
  std::vector<uint8_t> bytes;
  platform::ReadWholeFile(platform::SettingsFilePath(), bytes, platform::kMaxArchiveFileSize);
  const std::u16string secret = u"s3cret";
  const std::string wide(reinterpret_cast<const char*>(secret.data()), secret.size() * 2);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find(wide), std::string::npos);
}

TEST(ProgramEndToEnd, PassThroughAGnssReceiverOnConnectAndDisconnect) {
  testsupport::ConfigHome home;
  ScopedTimeScale fast(0.05);
  SimulatedTransceiver radio({"CALL"});
  sim::SimGnss receiver(radio.unit.SlavePath());
  ASSERT_TRUE(radio.unit.IsOk() && receiver.IsOk());
  ScopedPorts ports({Port(receiver.SlavePath16(), u"Receiver")});
  Messages messages;
  bool liveWhileConnected = false, offWhileConnected = true, liveAfter = true;
  int productId = 0;
  std::string status;
  {
    ModulinkStartup startup;
    startup.App().SetMessageBoxFunction([&](const std::u16string& text, unsigned flags) {
      messages.shown.push_back(text);
      return (flags & 0xF) == 4 ? 6 : 1;
    });
    startup.Run(AttachPages, [&](ModulinkDlg& dialog) {
      auto* page = qobject_cast<VkcPPConnection*>(dialog.CurrentPage());
      ASSERT_NE(page, nullptr);
      Choose(Control<QComboBox>(page, 1017), QStringLiteral("Through Quorl GPS receiver"));
      ASSERT_TRUE(Control<QComboBox>(page, 1181)->isVisible());
      Choose(Control<QComboBox>(page, 1181), QStringLiteral("dev/ser/c"));
      Choose(Control<QComboBox>(page, 1018), QStringLiteral("115200"));
      Control<QPushButton>(page, 1131)->click();
      EXPECT_TRUE(QTest::qWaitFor([&] { return !page->Model().IsPassThroughOff(); }, 10000));
      EXPECT_EQ(Control<QLabel>(page, 1226)->text(), QStringLiteral("Connected."));
      liveWhileConnected = receiver.PassThroughLive();
      offWhileConnected = page->Model().IsPassThroughOff();
      // The radio answers through the receiver.
      qobject_cast<VkcTopPPUtilsDlg*>(dialog.CurrentPanel())->IdentifyButton()->click();
      productId = startup.System().GetProductId();
      Control<QPushButton>(page, 1131)->click();
      EXPECT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(page, 1226)->text() == "Ready to connect."; }, 10000));
      status = Control<QLabel>(page, 1226)->text().toStdString();
      liveAfter = receiver.PassThroughLive();
      dialog.reject();
    });
  }
  EXPECT_TRUE(liveWhileConnected);
  EXPECT_FALSE(offWhileConnected);
  EXPECT_EQ(productId, 4);
  EXPECT_FALSE(liveAfter);
  EXPECT_EQ(status, "Ready to connect.");
  EXPECT_EQ(receiver.Setting("cur/term/imode"), "cmd");
  std::vector<std::string> texts;
  for (const auto& m : messages.shown) texts.push_back(Utf16ToUtf8(m));
  EXPECT_EQ(texts, (std::vector<std::string>{"Do you want to exit the program?\nAll unsaved data will be lost"}));
}

TEST(ProgramEndToEnd, NumbersUseTheCLocaleWhateverTheUsersLocale) {
  testsupport::ConfigHome home;
  ScopedPorts ports({});
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "de_DE.utf8") == nullptr)
    GTEST_SKIP() << "no German locale installed";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  std::string point;
  {
    ModulinkStartup startup;
    startup.Run(AttachPages, [&](ModulinkDlg& dialog) {
      point = std::localeconv()->decimal_point;
      dialog.done(0);
    });
  }
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(point, ".");
}

}  // namespace
