#include "reports/VkcPrintPreviewWnd.h"

#include <QAction>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>

#include "link/Format.h"
#include "reports/VkcPrintPaper.h"
#include "reports/VkcPrintPreviewClient.h"
#include "reports/VkcReportPrinter.h"

VkcPrintPreviewWnd::VkcPrintPreviewWnd(QWidget* mainDialog)
    : QMainWindow(mainDialog, Qt::Window), mainDialog_(mainDialog) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Print Preview"));
  setObjectName(QStringLiteral("printPreview"));
  pageSetup_ = new QAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView), QStringLiteral("Page Setup..."), this);
  next_ = new QAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Next"), this);
  previous_ = new QAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Previous"), this);
  print_ = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Print..."), this);
  QMenu* menu = menuBar()->addMenu(QStringLiteral("Set Page"));
  QToolBar* bar = addToolBar(QStringLiteral("Set Page"));
  bar->setMovable(false);
  for (QAction* a : {pageSetup_, next_, previous_, print_}) {
    menu->addAction(a);
    bar->addAction(a);
  }
  client_ = new VkcPrintPreviewClient(this);
  setCentralWidget(client_);
  connect(pageSetup_, &QAction::triggered, this, &VkcPrintPreviewWnd::OnPageSetup);
  connect(print_, &QAction::triggered, this, &VkcPrintPreviewWnd::OnPrint);
  connect(next_, &QAction::triggered, this, [this] {
    if (client_->Paper()) client_->Paper()->OnNext();
  });
  connect(previous_, &QAction::triggered, this, [this] {
    if (client_->Paper()) client_->Paper()->OnPrevious();
  });
  next_->setEnabled(false);
  previous_->setEnabled(false);
}

VkcPrintPreviewWnd::~VkcPrintPreviewWnd() {
  if (mainDialog_ != nullptr) mainDialog_->activateWindow();
}

QAction* VkcPrintPreviewWnd::Action(int command) const {
  switch (command) {
    case kCmdPageSetup: return pageSetup_;
    case kCmdNext: return next_;
    case kCmdPrevious: return previous_;
    case kCmdPrint: return print_;
    default: return nullptr;
  }
}

bool VkcPrintPreviewWnd::Create(VkcSystem* system) {
  system_ = system;
  if (!client_->LayoutPaper(system)) return false;
  VkcPrintPaper* paper = client_->Paper();
  paper->SetPageShownHandler([this](int n) { OnPageShown(n); });
  OnPageShown(paper->CurrentPage());
  return true;
}

VkcPrintPreviewWnd* VkcPrintPreviewWnd::Open(QWidget* mainDialog, VkcSystem* system) {
  auto* wnd = new VkcPrintPreviewWnd(mainDialog);
  if (!wnd->Create(system)) {
    delete wnd;
    return nullptr;
  }
  wnd->resize(900, 700);
  wnd->show();
  return wnd;
}

void VkcPrintPreviewWnd::OnPageShown(int n) {
  setWindowTitle(QString::fromStdString(StrPrintf("Print Preview - Page %d", n + 1)));
  VkcPrintPaper* paper = client_->Paper();
  previous_->setEnabled(paper != nullptr && paper->CanPrevious());
  next_->setEnabled(paper != nullptr && paper->CanNext());
}

void VkcPrintPreviewWnd::OnPageSetup() {
  std::unique_ptr<QPrinter> printer = VkcReportPrinter::Instance().MakePrinter();
  QPageSetupDialog dialog(printer.get(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  VkcReportPrinter::Instance().Adopt(*printer);
  client_->LayoutPaper(system_);
}

void VkcPrintPreviewWnd::OnPrint() {
  VkcPrintPaper* paper = client_->Paper();
  if (paper == nullptr) return;
  std::unique_ptr<QPrinter> printer = VkcReportPrinter::Instance().MakePrinter();
  QPrintDialog dialog(printer.get(), this);
  dialog.setMinMax(1, paper->PageCount());
  dialog.setFromTo(1, paper->PageCount());
  dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies |
                    QAbstractPrintDialog::PrintToFile);
  if (dialog.exec() != QDialog::Accepted) return;
  const bool all = printer->printRange() == QPrinter::AllPages;
  const int copies = printer->copyCount();
  const bool collate = printer->collateCopies();
  PrintWith(*printer, all ? 0 : printer->fromPage(), all ? 0 : printer->toPage(), copies, collate);
}

bool VkcPrintPreviewWnd::PrintWith(QPrinter& printer, int fromPage, int toPage, int copies, bool collate) {
  VkcReportPrinter::Instance().Adopt(printer);
  client_->LayoutPaper(system_);
  // The copies are made here, sheet by sheet; the printer must not multiply them again.
  printer.setCopyCount(1);
  return client_->Paper()->Print(printer, fromPage, toPage, copies, collate);
}
