#pragma once
// The About box: the program's icon, its version text and a line on what it is for.

#include <QDialog>

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kIdVersion = 1090;
  static constexpr const char* kVersionText = "Modulink Version 1.0 Rev 74 Beta 25\r\n\"Jun 23 2023\"";

  explicit CAboutDlg(QWidget* parent = nullptr);
};
