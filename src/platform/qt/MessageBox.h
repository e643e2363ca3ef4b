#pragma once
// The one message box of the program. Called on the user-interface thread only; workers post.

#include <QString>

class QWidget;

namespace platform::qt {

// Results as the program's callers compare them.
enum MessageBoxResult { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };
// Button and icon styles.
enum MessageBoxStyle : unsigned {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbYesNo = 0x4,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
};

// Shows a modal box with the text (CR LF and LF both break lines) and returns the button pressed.
int ShowMessageBox(QWidget* parent, const QString& text, unsigned style = kMbOk,
                   const QString& caption = QStringLiteral("Modulink"));

}  // namespace platform::qt
