#include "platform/qt/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace platform::qt {

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
      return box.exec() == QMessageBox::Yes ? kIdYes : kIdNo;
    case kMbOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      return box.exec() == QMessageBox::Ok ? kIdOk : kIdCancel;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      box.exec();
      return kIdOk;
  }
}

}  // namespace platform::qt
