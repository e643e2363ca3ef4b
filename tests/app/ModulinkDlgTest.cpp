#include "app/ModulinkDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "FakeShellUnit.h"
#include "app/VkcHorizontalTabControl.h"
#include "app/VkcMainDocument.h"
#include "app/VkcTabPPDialog.h"
#include "app/VkcTopPPConfigDlg.h"
#include "app/VkcVerticalTabControl.h"

namespace {

struct Journal {
  std::vector<std::string> events;
};

class RecordingPage : public VkcTabPPDialog {
 public:
  RecordingPage(std::string name, Journal& journal) : VkcTabPPDialog(0), name_(std::move(name)), journal_(journal) {
    auto* layout = new QVBoxLayout(this);
    edit = new QLineEdit(this);
    layout->addWidget(edit);
  }
  void RefreshPage() override { journal_.events.push_back("refresh " + name_); }
  bool ApplyPage() override {
    journal_.events.push_back("apply " + name_);
    return applyOk;
  }
  QLineEdit* edit;
  bool applyOk = true;

 private:
  std::string name_;
  Journal& journal_;
};

struct DialogFixture : ::testing::Test {
  VkcMainDocument tabs;
  FakeShellUnit unit;
  Journal journal;
  std::unique_ptr<ModulinkDlg> dlg;
  RecordingPage* connection;
  RecordingPage* modem;
  RecordingPage* serial;

  DialogFixture() {
    tabs.Init();
    dlg = std::make_unique<ModulinkDlg>(tabs, unit);
    connection = new RecordingPage("connection", journal);
    modem = new RecordingPage("modem", journal);
    serial = new RecordingPage("serial", journal);
    EXPECT_TRUE(dlg->AddPage(u"Preferences", u"Connection", connection));
    EXPECT_TRUE(dlg->AddPage(u"Configurations", u"Serial Interface", serial));
    EXPECT_TRUE(dlg->AddPage(u"Configurations", u"Modem", modem));
    dlg->show();
    dlg->OnInitDialog();
  }
  QStringList Tabs(QTabBar* bar) {
    QStringList out;
    for (int i = 0; i < bar->count(); ++i) out << bar->tabText(i);
    return out;
  }
};

TEST_F(DialogFixture, ShowsOnlyGroupsAndPagesThatExist) {
  EXPECT_EQ(Tabs(dlg->GroupStrip()), (QStringList{"Configurations", "Preferences"}));
  EXPECT_EQ(dlg->GroupStrip()->currentIndex(), 1);
  EXPECT_EQ(Tabs(dlg->PageStrip()), (QStringList{"Connection"}));
  EXPECT_EQ(dlg->CurrentPage(), connection);
  EXPECT_TRUE(connection->isVisible());
  EXPECT_FALSE(modem->isVisible());
  EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Modulink - ttyUSB0"));
  EXPECT_EQ(connection->GetHostDialog(), dlg.get());
  const int widest = dlg->GroupStrip()->TextWidth(QStringLiteral("Configurations"));
  EXPECT_EQ(dlg->GroupStrip()->MinimumTabExtent(), widest);
}

TEST_F(DialogFixture, SwitchingAppliesTheOldPageBeforeRefreshingTheNew) {
  journal.events.clear();
  dlg->GroupStrip()->setCurrentIndex(0);
  // The Configurations group's current entry (Identification) has no page: its first built page shows.
  EXPECT_EQ(Tabs(dlg->PageStrip()), (QStringList{"Serial Interface", "Modem"}));
  EXPECT_EQ(journal.events, (std::vector<std::string>{"apply connection", "refresh serial"}));
  EXPECT_EQ(dlg->CurrentPanel(), reinterpret_cast<VkcModulinkDlg*>(dlg->ConfigPanel()));
  journal.events.clear();
  modem->applyOk = false;
  dlg->PageStrip()->setCurrentIndex(1);
  dlg->PageStrip()->setCurrentIndex(0);  // the refusal does not keep the page
  EXPECT_EQ(journal.events,
            (std::vector<std::string>{"apply serial", "refresh modem", "apply modem", "refresh serial"}));
  EXPECT_EQ(tabs.FindGroup(u"Configurations")->GetCurrentPage()->GetName(), u"Serial Interface");

  // Refilling the strips runs no extra page switch.
  journal.events.clear();
  dlg->UpdateTabs(true);
  EXPECT_TRUE(journal.events.empty());

  // ApplyAllPages goes in tab order and stops at the first refusal.
  journal.events.clear();
  EXPECT_FALSE(dlg->ApplyAllPages());
  EXPECT_EQ(journal.events, (std::vector<std::string>{"apply serial", "apply modem"}));
}

TEST_F(DialogFixture, TabChangesAreRefusedWhileAnOperationRuns) {
  int worker = 0;
  ASSERT_TRUE(dlg->LockProcess(&worker));
  journal.events.clear();
  dlg->GroupStrip()->setCurrentIndex(0);
  EXPECT_EQ(dlg->GroupStrip()->currentIndex(), 1);
  EXPECT_EQ(dlg->CurrentPage(), connection);
  EXPECT_TRUE(journal.events.empty());

  // Closing is refused too, with its text, and the dialog stays.
  dlg->reject();
  EXPECT_EQ(unit.Texts().back(),
            "Another process is running.\r\nPlease wait until it is finished then close the application.");
  EXPECT_TRUE(dlg->isVisible());
  dlg->UnlockProcess(&worker);
}

TEST_F(DialogFixture, EnterAndEscapeInAPageAskNothing) {
  connection->edit->setFocus();
  QTest::keyClick(connection->edit, Qt::Key_Return);
  QTest::keyClick(connection->edit, Qt::Key_Escape);
  EXPECT_TRUE(unit.messages.empty());
  EXPECT_TRUE(dlg->isVisible());

  unit.answer = 7;
  dlg->reject();
  EXPECT_EQ(unit.Texts().back(), "Do you want to exit the program?\nAll unsaved data will be lost");
  EXPECT_TRUE(dlg->isVisible());
  unit.answer = 6;
  dlg->findChild<QPushButton*>(QStringLiteral("ctl1"))->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
}

TEST_F(DialogFixture, PanelsFollowTheUnitAndSystemCommandsDispatch) {
  auto* send = dlg->ConfigPanel()->SendButton();
  EXPECT_TRUE(send->isEnabled());
  unit.productId = 0;
  dlg->RefreshAllPages();
  EXPECT_FALSE(send->isEnabled());

  int ran = 0;
  dlg->AddSystemCommand(ModulinkDlg::kCmdErrorMessages, QStringLiteral("&Error Messages..."), [] {});
  dlg->AddSystemCommand(ModulinkDlg::kCmdAbout, QStringLiteral("&About Modulink..."), [&] { ++ran; });
  dlg->AddSystemCommand(ModulinkDlg::kCmdTerminal, QString(), [&] { ran += 10; });
  dlg->OnSysCommand(ModulinkDlg::kCmdAbout);
  dlg->OnSysCommand(ModulinkDlg::kCmdTerminal);
  dlg->OnSysCommand(ModulinkDlg::kCmdPrintPreview);
  EXPECT_EQ(ran, 1);
  auto* menu = dlg->findChild<QMenu*>();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("&About Modulink..."));
  menu->actions()[0]->trigger();
  EXPECT_EQ(ran, 2);

  // A modeless window opened from the modal dialog is its own window, owned by the dialog.
  QPointer<QWidget> window = new QWidget;
  dlg->OpenModeless(window);
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->parentWidget(), dlg.get());
  EXPECT_TRUE(window->isVisible());
  window->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

}  // namespace
