#pragma once
// The error-message window: the error log's entries ("%d) Error #%d - %s" a row, numbered from 1,
// a line end inside an entry shown as "\r" or "\n"), a "Clear" box and "Close". Close with "Clear"
// ticked removes the entries shown (not those logged while the window was open); Esc and the close
// box never clear.

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QPlainTextEdit;
class VkcErrorProcessor;

class VkcErrorMessages : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kIdText = 1099;
  static constexpr int kIdClear = 1100;

  explicit VkcErrorMessages(VkcErrorProcessor& log, QWidget* parent = nullptr);

  QPlainTextEdit* Text() const { return text_; }
  QCheckBox* ClearBox() const { return clear_; }

 public slots:
  void accept() override;

 private:
  VkcErrorProcessor& log_;
  QPlainTextEdit* text_;
  QCheckBox* clear_;
  uint64_t shown_ = 0;  // the log's mark of what the window shows
};
