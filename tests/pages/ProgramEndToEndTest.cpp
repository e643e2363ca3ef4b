// The program's objects as main() builds them, driven through the widgets against the simulated
// unit on a pseudo-terminal, with the settings in a temporary folder.
#include <QApplication>
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
#include "app/VkcMainDocument.h"
#include "app/VkcVerticalTabControl.h"
#include "link/Utf.h"
#include "pages/ModulinkPages.h"
#include "pages/VkcPPConnection.h"
#include "platform/Files.h"
#include "platform/SettingsLocation.h"
#include "sim/SimGateway.h"
#include "sim/SimUnit.h"

using namespace conntest;

namespace {

struct ScopedConfigHome {
  testsupport::TempDir dir;
  std::string old;
  bool had = false;
  ScopedConfigHome() {
    if (const char* v = std::getenv("XDG_CONFIG_HOME")) {
      old = v;
      had = true;
    }
    ::setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
  }
  ~ScopedConfigHome() {
    if (had) {
      ::setenv("XDG_CONFIG_HOME", old.c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
  }
};

template <typename W>
W* Control(QWidget* root, int id) {
  return root->findChild<W*>(QStringLiteral("ctl%1").arg(id));
}

void Choose(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

TEST(ProgramEndToEnd, SerialSessionIsStoredInTheSettingsFile) {
  ScopedConfigHome home;
  sim::SimUnit unit;
  ASSERT_TRUE(unit.IsOk());
  ScopedPorts ports({Port(u"/dev/ttyS0", u"Communications Port"), Port(unit.SlavePath16(), u"Simulated unit")});
  Messages messages;
  std::string status;
  std::string title;
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
      Choose(Control<QComboBox>(page, 1018), QStringLiteral("38400"));
      Control<QPushButton>(page, 1131)->click();
      EXPECT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(page, 1226)->text() == "Connected."; }, 5000));
      EXPECT_EQ(Control<QPushButton>(page, 1131)->text(), QStringLiteral("DisConnect"));
      EXPECT_FALSE(Control<QComboBox>(page, 1016)->isEnabled());
      EXPECT_EQ(unit.LineRate(), 38400u);
      dialog.UpdateTitle();
      title = dialog.windowTitle().toStdString();
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
  EXPECT_EQ(title, "Modulink - " + unit.SlavePath().substr(unit.SlavePath().rfind('/') + 1));
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_EQ(messages.Last(), "Do you want to exit the program?\nAll unsaved data will be lost");

  // The stored file holds the choices.
  ModulinkApp reread;
  EXPECT_EQ(reread.SettingsPath(), platform::SettingsFilePath());
  ASSERT_TRUE(reread.LoadSettings());
  EXPECT_EQ(reread.Setting("Serial Interface", "Port").GetWString(), unit.SlavePath16());
  EXPECT_EQ(reread.Setting("Serial Interface", "Rate").GetInt(), 38400);
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
  ScopedConfigHome home;
  sim::SimUnit unit;
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
      title = dialog.windowTitle().toStdString();
      Control<QPushButton>(page, 1131)->click();
      EXPECT_TRUE(QTest::qWaitFor([&] { return Control<QLabel>(page, 1226)->text() == "Ready to connect."; }, 20000));
      dialog.reject();
    });
  }
  EXPECT_EQ(logins, (std::vector<std::string>{"surveyor", "s3cret"}));
  EXPECT_EQ(title, "Modulink - 127.0.0.1:" + std::to_string(gateway.Port()));
  EXPECT_EQ(messages.Last(), "Do you want to exit the program?\nAll unsaved data will be lost");

  ModulinkApp reread;
  ASSERT_TRUE(reread.LoadSettings());
  EXPECT_EQ(reread.Setting("Connection Settings", "Type").GetInt(), 1);
  EXPECT_EQ(reread.Setting("TCP Interface", "Address").GetWString(), u"127.0.0.1");
  EXPECT_EQ(reread.Setting("TCP Interface", "Port").GetInt(), gateway.Port());
  EXPECT_EQ(reread.Setting("TCP Interface", "UserName").GetWString(), u"surveyor");
  std::vector<uint8_t> bytes;
  platform::ReadWholeFile(platform::SettingsFilePath(), bytes, platform::kMaxArchiveFileSize);
  const std::u16string secret = u"s3cret";
  const std::string wide(reinterpret_cast<const char*>(secret.data()), secret.size() * 2);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find(wide), std::string::npos);
}

}  // namespace
