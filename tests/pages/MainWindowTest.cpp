// The main window as the program shows it, with every page attached: whole tab titles at the
// default size, labels whose mnemonic leads to their control, and a window size that showing and
// hiding controls never changes.

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/LabelBuddies.h"
#include "app/ModulinkDlg.h"
#include "app/ModulinkStartup.h"
#include "app/PageTitles.h"
#include "app/VkcHorizontalTabControl.h"
#include "app/VkcModulinkDlg.h"
#include "app/VkcVerticalTabControl.h"
#include "pages/ModulinkPages.h"
#include "pages/VkcPPDownloadImageModel.h"
#include "pages/VkcPPModemModel.h"
#include "pages/VkcPPWirelessModel.h"
#include "support/PageWidgets.h"

namespace {

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() {
    startup.App().SetMessageBoxFunction([](const std::u16string&, unsigned flags) { return (flags & 0xF) == 4 ? 7 : 1; });
    startup.Start();
    dialog = std::make_unique<ModulinkDlg>(startup.Tabs(), startup.Unit());
    AttachPages(*dialog, startup.App(), startup.Devices());
    dialog->OnInitDialog();
    dialog->show();
    QApplication::processEvents();
  }

  // Shows every page in turn (group by group, tab by tab) and calls visit with it.
  void ForEachPage(const std::function<void(VkcModulinkDlg& page, const QString& title)>& visit) {
    VkcTabStrip* groups = dialog->GroupStrip();
    VkcTabStrip* pages = dialog->PageStrip();
    for (int g = 0; g < groups->count(); ++g) {
      groups->setCurrentIndex(g);
      for (int p = 0; p < pages->count(); ++p) {
        pages->setCurrentIndex(p);
        QApplication::processEvents();
        if (VkcModulinkDlg* page = dialog->CurrentPage()) visit(*page, groups->TabName(g) + "/" + pages->TabName(p));
      }
    }
  }

  // The titles either strip draws shortened, group by group.
  std::vector<std::string> ShortenedTitles() {
    std::vector<std::string> shortened;
    VkcTabStrip* groups = dialog->GroupStrip();
    for (int g = 0; g < groups->count(); ++g) {
      groups->setCurrentIndex(g);
      QApplication::processEvents();
      for (VkcTabStrip* strip : {groups, static_cast<VkcTabStrip*>(dialog->PageStrip())})
        for (int i = 0; i < strip->count(); ++i)
          if (strip->DrawnTitle(i) != strip->TabName(i)) shortened.push_back(strip->DrawnTitle(i).toStdString());
    }
    return shortened;
  }

  testsupport::ConfigHome home;
  ModulinkStartup startup{home.dir.File("settings.vkc")};
  std::unique_ptr<ModulinkDlg> dialog;
};

TEST_F(MainWindow, DefaultSizeShowsEveryTabTitleWholeAndASmallerWindowShortensThem) {
  ASSERT_EQ(ShortenedTitles(), std::vector<std::string>{});

  dialog->GroupStrip()->setCurrentIndex(dialog->GroupStrip()->FindTab(QString::fromUtf16(titles::kConfigurations)));
  dialog->resize(dialog->width() / 2, dialog->height());
  QApplication::processEvents();
  const QString last = dialog->PageStrip()->DrawnTitle(dialog->PageStrip()->count() - 1);
  EXPECT_TRUE(last.endsWith(QChar(0x2026))) << last.toStdString();
}

// The window fits a laptop's 1366 x 768 screen below a panel and a title bar, whatever page it shows.
TEST_F(MainWindow, TheSmallestWindowShowingAnyPageIsAtMost1000x690) {
  ForEachPage([&](VkcModulinkDlg&, const QString& title) {
    dialog->resize(1, 1);
    QApplication::processEvents();
    EXPECT_LE(dialog->width(), 1000) << title.toStdString();
    EXPECT_LE(dialog->height(), 690) << title.toStdString();
  });
}

// The offscreen platform draws no frame, so the client area is what must fit. The size is given
// as exec gives it, to a dialog built and not yet shown, and depends on the area alone.
TEST_F(MainWindow, TheDefaultSizeFitsTheScreenAndShowsEveryTabTitleWhole) {
  const QSize areas[] = {{1366, 728}, {1920, 1040}, {3840, 2120}};
  std::vector<QSize> sizes;
  for (const QSize& area : areas) {
    const std::string name = std::to_string(area.width()) + "x" + std::to_string(area.height());
    dialog = std::make_unique<ModulinkDlg>(startup.Tabs(), startup.Unit());
    AttachPages(*dialog, startup.App(), startup.Devices());
    dialog->OnInitDialog();
    dialog->FitToScreen(QRect(QPoint(0, 0), area));
    const QSize first = dialog->size();
    dialog->FitToScreen(QRect(QPoint(0, 0), area));
    EXPECT_EQ(dialog->size(), first) << name;
    dialog->show();
    QApplication::processEvents();
    dialog->FitToScreen(QRect(QPoint(0, 0), area));
    QApplication::processEvents();
    EXPECT_EQ(dialog->size(), first) << name;
    EXPECT_LE(dialog->width(), area.width()) << name;
    EXPECT_LE(dialog->height(), area.height()) << name;
    EXPECT_EQ(ShortenedTitles(), std::vector<std::string>{}) << name;
    sizes.push_back(first);
  }
  // A screen with room to spare gives the window no more than it wants.
  EXPECT_EQ(sizes[1], sizes[2]);
}

TEST_F(MainWindow, EveryMnemonicLeadsToItsControl) {
  ForEachPage([this](VkcModulinkDlg&, const QString& title) {
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
      if (!label->isVisible() || !HasMnemonic(label->text())) continue;
      EXPECT_NE(label->buddy(), nullptr) << title.toStdString() << ": \"" << label->text().toStdString() << "\"";
    }
  });
  // The control a label names is the one beside it.
  struct Named {
    const char* text;
    int control;
  } const named[] = {
      {"&List", VkcPPWirelessModel::kProtocol},
      {"Pa&ttern", VkcPPWirelessModel::kPattern},
      {"Frequency &Channel Tx", VkcPPWirelessModel::kTxChannel},
      {"&Link Id", VkcPPWirelessModel::kLinkId},
      {"&Firmware file", VkcPPDownloadImageModel::kFileName},
      {"Go to Sleep mode if no &activity for:", VkcPPModemModel::kInactivitySlider},
  };
  for (const Named& n : named) {
    QLabel* label = nullptr;
    for (QLabel* candidate : dialog->findChildren<QLabel*>())
      if (candidate->text() == QString::fromUtf8(n.text)) label = candidate;
    ASSERT_NE(label, nullptr) << n.text;
    ASSERT_NE(label->buddy(), nullptr) << n.text;
    EXPECT_EQ(label->buddy()->objectName(), QStringLiteral("ctl%1").arg(n.control)) << n.text;
  }
  EXPECT_FALSE(HasMnemonic(QStringLiteral("UART && USB")));
  EXPECT_FALSE(HasMnemonic(QStringLiteral("Tx &")));
}

TEST_F(MainWindow, ShowingAndHidingControlsNeverResizesTheWindow) {
  const QSize size = dialog->size();
  ForEachPage([&](VkcModulinkDlg& page, const QString& title) {
    // Every control of the page the other way round (the hidden ones shown), then back.
    std::vector<QWidget*> turned;
    for (QWidget* control : page.findChildren<QWidget*>(QRegularExpression(QStringLiteral("^ctl\\d+$")))) {
      turned.push_back(control);
      control->setVisible(control->isHidden());
    }
    QApplication::processEvents();
    EXPECT_EQ(dialog->size(), size) << title.toStdString();
    for (QWidget* control : turned) control->setVisible(control->isHidden());
    QApplication::processEvents();
    EXPECT_EQ(dialog->size(), size) << title.toStdString();
  });
}

}  // namespace
