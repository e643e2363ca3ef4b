#include "platform/qt/MessageBox.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace platform::qt {

namespace {

// The window manager shortens a title that does not fit beside the frame's icon and buttons: the
// box is made wide enough for its title and that much room.
void FitTitle(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
  const int frameRoom = 8 * metrics.height();
  const int width = metrics.horizontalAdvance(box.windowTitle()) + frameRoom;
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                grid->columnCount());
}

// Once the box holds everything (a layout is made anew as its parts are set).
int Run(QMessageBox& box) {
  FitTitle(box);
  return box.exec();
}

}  // namespace

int ShowMessageBox(QWidget* parent, const QString& text, unsigned style, const QString& caption) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(parent ? parent : QApplication::activeWindow());
  box.setWindowTitle(caption);
  box.setText(shown);
  switch (style & 0xF0) {
    case kMbIconError: box.setIcon(QMessageBox::Critical); break;
    case kMbIconQuestion: box.setIcon(QMessageBox::Question); break;
    case kMbIconWarning: box.setIcon(QMessageBox::Warning); break;
    case kMbIconInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  switch (style & 0x0F) {
    case kMbYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      return Run(box) == QMessageBox::Yes ? kIdYes : kIdNo;
    case kMbOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      return Run(box) == QMessageBox::Ok ? kIdOk : kIdCancel;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      Run(box);
      return kIdOk;
  }
}

}  // namespace platform::qt
