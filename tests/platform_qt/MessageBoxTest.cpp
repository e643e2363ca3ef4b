#include "platform/qt/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace platform::qt;

// A short message still leaves its title whole: the box is as wide as the title with room for a
// frame's icon and three buttons beside it.
TEST(MessageBox, IsWideEnoughForItsTitle) {
  const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
  struct Case {
    QString caption;
    unsigned style;
    int result;
  } const cases[] = {
      {QStringLiteral("Modulink"), kMbOk, kIdOk},
      {QStringLiteral("Sending configuration to radio"), kMbYesNo | kMbIconQuestion, kIdYes},
  };
  for (const Case& c : cases) {
    int width = 0;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      width = box->width();
      box->button(c.result == kIdYes ? QMessageBox::Yes : QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ShowMessageBox(nullptr, QStringLiteral("OK"), c.style, c.caption), c.result);
    EXPECT_GE(width, metrics.horizontalAdvance(c.caption) + 6 * metrics.height()) << c.caption.toStdString();
  }
}
