// The error-message window over the error log, the About box and the system-menu commands.

#include "app/VkcErrorMessages.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "FakeShellUnit.h"
#include "app/CAboutDlg.h"
#include "app/ModulinkApp.h"
#include "app/ModulinkDlg.h"
#include "app/VkcMainDocument.h"
#include "app/VkcSystemMenu.h"
#include "app/VkcTerminalWnd.h"
#include "link/VkcErrorProcessor.h"
#include "support/TestSupport.h"

namespace {

TEST(ErrorWindow, ListsTheLogAndClearsOnlyOnCloseWithClearTicked) {
  enum class End { Close, Escape };
  struct Case {
    End end;
    bool clear;
    bool logWhileOpen;
    std::string left;
  } cases[] = {
      {End::Close, false, false, "1) Error #0 - Unable to open port COM3\r\n2) Error #31 - Unable to set RTS\r\n"},
      {End::Escape, true, false, "1) Error #0 - Unable to open port COM3\r\n2) Error #31 - Unable to set RTS\r\n"},
      {End::Close, true, false, ""},
      {End::Close, true, true, "1) Error #258 - while open\r\n"},  // an entry nobody saw stays
  };
  for (const Case& c : cases) {
    VkcErrorProcessor log;
    log.ReportError(0, "Unable to open port %s", "COM3");
    log.ReportError(31, "Unable to %s RTS", "set");
    VkcErrorMessages window(log);
    EXPECT_EQ(window.windowTitle(), "Error Messages");
    EXPECT_EQ(window.Text()->toPlainText(),
              "1) Error #0 - Unable to open port COM3\n2) Error #31 - Unable to set RTS");
    EXPECT_TRUE(window.Text()->isReadOnly());
    EXPECT_FALSE(window.ClearBox()->isChecked());
    if (c.logWhileOpen) log.ReportError(258, "%s", "while open");
    window.ClearBox()->setChecked(c.clear);
    window.show();
    if (c.end == End::Close)
      window.findChild<QPushButton*>()->click();
    else
      QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(log.GetTextUtf8(), c.left);
  }
  VkcErrorProcessor empty;
  EXPECT_EQ(VkcErrorMessages(empty).Text()->toPlainText(), "");
}

TEST(ErrorWindow, PastTheLimitRowsAreNumberedFromOneAndLineEndsStayInTheirRow) {
  VkcErrorProcessor log;
  for (size_t i = 0; i < VkcErrorProcessor::kMaxEntries; ++i) log.ReportError(0, "%s", "old");
  log.ReportError(0, "Can not get response for\"%s\", response = \"%s\"", "STATE TEMP\r", "a\r\nb\n");
  VkcErrorMessages window(log);
  const QStringList rows = window.Text()->toPlainText().split(u'\n');
  ASSERT_EQ(rows.size(), static_cast<qsizetype>(VkcErrorProcessor::kMaxEntries));
  EXPECT_EQ(rows.front(), "1) Error #0 - old");
  EXPECT_EQ(rows.back(), "10000) Error #0 - Can not get response for\"STATE TEMP\\r\", response = \"a\\r\\nb\\n\"");
  EXPECT_EQ(log.Entries().back().text, "Can not get response for\"STATE TEMP\r\", response = \"a\r\nb\n\"");
}

TEST(AboutBox, ShowsTheVersionText) {
  CAboutDlg about;
  EXPECT_EQ(about.windowTitle(), "About Modulink");
  auto* version = about.findChild<QLabel*>("ctl1090");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), "Modulink Version 1.0 Rev 74 Beta 25\n\"Jun 23 2023\"");
  EXPECT_STREQ(CAboutDlg::kVersionText, "Modulink Version 1.0 Rev 74 Beta 25\r\n\"Jun 23 2023\"");
}

TEST(SystemMenu, OpensAboutErrorMessagesAndTerminalsAboveTheMainDialog) {
  testsupport::TempDir dir;
  ModulinkApp app(dir.File("settings.vkc"));
  app.SetMessageBoxFunction([](const std::u16string&, unsigned) { return 1; });
  VkcMainDocument tabs;
  tabs.Init();
  FakeShellUnit unit;
  ModulinkDlg dialog(tabs, unit);
  InstallSystemCommands(dialog, app);
  QStringList items;
  for (QAction* menu : dialog.findChild<QMenuBar*>()->actions())
    for (QAction* item : menu->menu()->actions()) items << item->text();
  EXPECT_EQ(items, (QStringList{"&About Modulink...", "&Error Messages...", "&Terminal Window"}));

  // The modal ones: closed as soon as they show.
  QStringList shown;
  auto closeModal = [&] {
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) return;
      shown << modal->windowTitle();
      static_cast<QDialog*>(modal)->reject();
    });
  };
  closeModal();
  dialog.OnSysCommand(ModulinkDlg::kCmdAbout);
  closeModal();
  dialog.OnSysCommand(ModulinkDlg::kCmdErrorMessages);
  EXPECT_EQ(shown, (QStringList{"About Modulink", "Error Messages"}));

  dialog.OnSysCommand(ModulinkDlg::kCmdTerminal);
  dialog.OnSysCommand(ModulinkDlg::kCmdTerminal);
  const auto terminals = dialog.findChildren<VkcTerminalWnd*>();
  ASSERT_EQ(terminals.size(), 2);
  for (VkcTerminalWnd* t : terminals) {
    EXPECT_TRUE(t->isWindow());
    EXPECT_EQ(t->parentWidget(), &dialog);
    EXPECT_TRUE(t->testAttribute(Qt::WA_DeleteOnClose));
  }
}

}  // namespace
