#include "pages/VkcPPConnection.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "ConnectionTestSupport.h"
#include "devices/VkcDeviceManager.h"
#include "link/VkcSerialPort.h"
#include "platform/Files.h"
#include "support/PageWidgets.h"

using namespace conntest;

namespace {

using testsupport::Control;

TEST(ConnectionView, LostFocusChecksRunOnceAndReachTheSettings) {
  testsupport::TempDir dir;
  ModulinkApp app(dir.File("settings.vkc"));
  app.InitInstance();
  VkcDeviceManager devices;
  devices.RegisterPrototypes();
  VkcSerialPort serial;
  app.SetPorts(&serial, nullptr);
  ScopedPorts ports({});
  app.Setting("Connection Settings", "Type").SetInt(1);

  VkcPPConnection page(app, devices);
  page.show();
  page.RefreshPage();
  auto* address = Control<QLineEdit>(&page, VkcPPConnectionModel::kAddress);
  auto* tcpPort = Control<QLineEdit>(&page, VkcPPConnectionModel::kTcpPort);
  auto* password = Control<QLineEdit>(&page, VkcPPConnectionModel::kPassword);
  // Both answer the gateway's log-in prompts.
  EXPECT_TRUE(testsupport::RefusesControlCharacters(password));
  EXPECT_TRUE(testsupport::RefusesControlCharacters(Control<QLineEdit>(&page, VkcPPConnectionModel::kUserName)));
  ASSERT_TRUE(address && tcpPort && password);
  EXPECT_TRUE(address->isVisible());
  EXPECT_FALSE(Control<QComboBox>(&page, VkcPPConnectionModel::kSerialPort)->isVisible());
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(tcpPort->text(), QStringLiteral("8002"));

  // The message box takes the focus, as a real one does: the check must not run again.
  int shown = 0;
  app.SetMessageBoxFunction([&](const std::u16string&, unsigned) {
    ++shown;
    password->setFocus();
    QApplication::processEvents();
    address->setFocus();
    QApplication::processEvents();
    return 1;
  });
  QApplication::setActiveWindow(&page);
  address->setFocus();
  QApplication::processEvents();
  address->clear();
  QTest::keyClicks(address, QString(50, QLatin1Char('h')));
  password->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(address->text(), QString());
  EXPECT_EQ(app.Setting("TCP Interface", "Address").GetWString(), u"");

  // A tab click moves no focus: the pending check runs before the page is left.
  shown = 0;
  tcpPort->setFocus();
  QApplication::processEvents();
  tcpPort->setText(QStringLiteral("70000"));
  emit tcpPort->textEdited(tcpPort->text());
  page.CommitPendingEdit();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(tcpPort->text(), QStringLiteral("8002"));
  EXPECT_EQ(app.Setting("TCP Interface", "Port").GetInt(), 8002);

  // A right-click opens the edit's own menu and checks nothing; leaving the edit checks, once.
  shown = 0;
  tcpPort->setFocus();
  QApplication::processEvents();
  tcpPort->setText(QStringLiteral("70000"));
  emit tcpPort->textEdited(tcpPort->text());
  ASSERT_TRUE(testsupport::ChooseFromContextMenu(tcpPort, Qt::Key_Escape));
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(tcpPort->text(), QStringLiteral("70000"));
  EXPECT_TRUE(tcpPort->hasFocus());
  password->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(tcpPort->text(), QStringLiteral("8002"));

  // The password stays in the page.
  QTest::keyClicks(password, "secret");
  page.RefreshPage();
  EXPECT_EQ(password->text(), QStringLiteral("secret"));
  ASSERT_TRUE(app.StoreSettings());
  std::vector<uint8_t> bytes;
  platform::ReadWholeFile(dir.File("settings.vkc"), bytes, platform::kMaxArchiveFileSize);
  const std::string file(bytes.begin(), bytes.end());
  EXPECT_EQ(file.find(std::string("s\0e\0c\0r\0e\0t", 11)), std::string::npos);
  EXPECT_EQ(file.find("secret"), std::string::npos);
}

}  // namespace
