#pragma once
// The print preview window of the configuration report: a "Set Page" menu and a toolbar with
// Page Setup, Next, Previous and Print, over the scrolling page view. It is a window of its own
// parented to the main dialog, so it takes input while the main dialog is modal.

#include <QMainWindow>

class QAction;
class QPrinter;
class VkcPrintPreviewClient;
class VkcSystem;

class VkcPrintPreviewWnd : public QMainWindow {
  Q_OBJECT
 public:
  // Command ids of the menu and toolbar.
  static constexpr int kCmdPageSetup = 32771;
  static constexpr int kCmdNext = 32773;
  static constexpr int kCmdPrevious = 32774;
  static constexpr int kCmdPrint = 32775;

  explicit VkcPrintPreviewWnd(QWidget* mainDialog);
  ~VkcPrintPreviewWnd() override;

  // Builds the report of the unit and shows page 0; false when the printer gives no paper.
  bool Create(VkcSystem* system);
  // Opens a preview of the unit's report, deleted when closed; null when it could not be laid out.
  static VkcPrintPreviewWnd* Open(QWidget* mainDialog, VkcSystem* system);

  VkcPrintPreviewClient* Client() const { return client_; }
  QAction* Action(int command) const;

  void OnPageSetup();
  void OnPrint();
  // The print dialog's outcome, applied: printer chosen, paper laid out again, range printed.
  bool PrintWith(QPrinter& printer, int fromPage, int toPage, int copies, bool collate);

 private:
  void OnPageShown(int n);

  QWidget* mainDialog_;
  VkcPrintPreviewClient* client_;
  QAction* pageSetup_;
  QAction* next_;
  QAction* previous_;
  QAction* print_;
  VkcSystem* system_ = nullptr;
};
