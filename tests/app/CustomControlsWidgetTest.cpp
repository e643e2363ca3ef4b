#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "app/VkcHorizontalTabControl.h"
#include "app/VkcModulinkDlg.h"
#include "app/VkcMultiEdit.h"
#include "app/VkcTrueColorImageList.h"
#include "app/VkcVerticalTabControl.h"

namespace {

void SerialEdit(VkcMultiEdit& edit) {
  edit.SetCharSet({2, 2, 2, 2, 2, 2});
  edit.SetTemplate(u"-");
  edit.SetMaxLength(12);
  edit.SetLeftFill(true);
}

TEST(MultiEditWidget, KeysGoThroughTheModel) {
  VkcMultiEdit edit;
  SerialEdit(edit);
  edit.show();
  QSignalSpy edited(&edit, &VkcMultiEdit::RawTextEdited);
  QTest::keyClicks(&edit, "12345");
  EXPECT_EQ(edit.text(), QStringLiteral("12-34-5"));
  EXPECT_EQ(edit.GetRawText(), u"12345");
  EXPECT_EQ(edited.count(), 5);
  QTest::keyClick(&edit, Qt::Key_Left);
  QTest::keyClick(&edit, Qt::Key_Left);
  QTest::keyClick(&edit, Qt::Key_Backspace);  // caret after "-": removes '4'
  EXPECT_EQ(edit.GetRawText(), u"1235");
  QTest::keyClick(&edit, Qt::Key_Home);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.text(), QStringLiteral("23-5"));
  // Keys the line edit would use to change the text directly are kept out.
  QTest::keyClick(&edit, Qt::Key_K, Qt::ControlModifier);
  QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), QStringLiteral("23-5"));
  EXPECT_EQ(edit.GetRawText(), u"235");
}

TEST(MultiEditWidget, ClipboardPathsUseTheModel) {
  VkcMultiEdit edit;
  SerialEdit(edit);
  edit.show();
  edit.SetWindowText(u"123456789ABC");
  QApplication::clipboard()->setText(QStringLiteral("ZZZZ"));
  edit.setCursorPosition(0);
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.GetRawText(), u"ZZZZ12345678");

  // Copy leaves the separators out; copying only a separator leaves the clipboard alone.
  edit.setSelection(1, 3);
  QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ZZ"));
  edit.setSelection(2, 1);
  QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ZZ"));

  // The context menu's Paste goes through the model too.
  edit.SetWindowText(u"12");
  edit.setCursorPosition(2);
  QApplication::clipboard()->setText(QStringLiteral("3\u20ac\u4e00"));
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions())
      if (action->text() == QStringLiteral("&Paste")) action->trigger();
    menu->close();
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(1, 1), edit.mapToGlobal(QPoint(1, 1)));
  QApplication::sendEvent(&edit, &event);
  // The clipboard is 8-bit text: the euro sign exists there, the CJK character does not.
  EXPECT_EQ(edit.GetRawText(), u"123\u20ac?");

  // A middle click never writes into the line edit behind the model's back.
  QTest::mouseClick(&edit, Qt::MiddleButton);
  EXPECT_EQ(edit.text().remove('-'), QString::fromUtf16(u"123\u20ac?"));

  edit.SetReadOnly(true);
  EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(192, 192, 192));
  QTest::keyClicks(&edit, "9");
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.GetRawText(), u"123\u20ac?");
}

TEST(MultiEditWidget, DoubleClickSelectsAll) {
  VkcMultiEdit edit;
  SerialEdit(edit);
  edit.show();
  edit.SetWindowText(u"1234");
  QTest::mouseDClick(&edit, Qt::LeftButton);
  EXPECT_EQ(edit.selectedText(), QStringLiteral("12-34"));
}

TEST(TabStrips, NamesShapeAndMinimumExtent) {
  VkcVerticalTabControl groups;
  VkcHorizontalTabControl pages;
  EXPECT_EQ(groups.shape(), QTabBar::RoundedWest);
  EXPECT_EQ(pages.shape(), QTabBar::RoundedNorth);
  EXPECT_TRUE(groups.font().bold());
  groups.AddNamedTab(QStringLiteral("Configurations"));
  groups.AddNamedTab(QStringLiteral("Preferences"));
  EXPECT_EQ(groups.FindTab(QStringLiteral("Preferences")), 1);
  EXPECT_EQ(groups.TabName(0), QStringLiteral("Configurations"));
  EXPECT_EQ(groups.FindTab(QStringLiteral("preferences")), -1);
  groups.SetMinimumTabExtent(500);
  EXPECT_GE(groups.tabRect(1).height(), 500);
  pages.AddNamedTab(QStringLiteral("Connection"));
  pages.SetMinimumTabExtent(300);
  EXPECT_GE(pages.tabRect(0).width(), 300);
  EXPECT_GT(groups.TextWidth(QStringLiteral("Configurations")), groups.TextWidth(QStringLiteral("RTN")));
}

TEST(ImageList, CutsSquareTilesWithAMask) {
  QImage strip(48, 16, QImage::Format_RGB32);
  strip.fill(QColor(255, 0, 255));
  strip.setPixel(17, 1, qRgb(1, 2, 3));
  VkcTrueColorImageList list;
  ASSERT_TRUE(list.Create(strip, 16, qRgb(255, 0, 255)));
  ASSERT_EQ(list.Count(), 3);
  const QImage tile = list.Image(1).toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(qAlpha(tile.pixel(0, 0)), 0);
  EXPECT_EQ(tile.pixel(1, 1), qRgb(1, 2, 3));
  EXPECT_TRUE(list.Image(3).isNull());
  EXPECT_FALSE(list.Create(QImage(), 16, 0));
  EXPECT_FALSE(list.Create(QStringLiteral("/nonexistent.png"), 16, 0));
  EXPECT_EQ(list.Count(), 0);
}

TEST(PageBase, EnterAndEscapeInAPageCloseNothing) {
  QDialog dialog;
  auto* layout = new QVBoxLayout(&dialog);
  auto* page = new VkcModulinkDlg(&dialog);
  auto* edit = new QLineEdit(page);
  auto* pageButton = new QPushButton(QStringLiteral("Do"), page);
  new QVBoxLayout(page);
  page->layout()->addWidget(edit);
  page->layout()->addWidget(pageButton);
  layout->addWidget(page);
  auto* close = new QPushButton(QStringLiteral("Close"), &dialog);
  layout->addWidget(close);
  page->CreateHidden(&dialog);
  page->show();
  EXPECT_FALSE(pageButton->autoDefault());
  QSignalSpy closed(close, &QPushButton::clicked);
  QSignalSpy finished(&dialog, &QDialog::finished);
  dialog.show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClick(edit, Qt::Key_Enter);
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(closed.count(), 0);
  EXPECT_EQ(finished.count(), 0);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(page->ApplyPage());
}

}  // namespace
