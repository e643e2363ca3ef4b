// Printing of the chart: laid out at three quarters of the page in screen pixels, then
// stretched over the whole page by the printer mapping.
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <memory>

#include "chart/CChartCtrl.h"
#include "platform/qt/QtDc.h"

bool CChartCtrl::Print(const QString& title, QPrinter* printer) {
  std::unique_ptr<QPrinter> own;
  if (!printer) {
    own = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(own.get(), this);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);  // the one choice without printers
    if (dialog.exec() != QDialog::Accepted) return false;
    printer = own.get();
  }
  printer->setDocName(title);
  QPainter painter;
  if (!painter.begin(printer)) return false;
  bool ok = true;
  {
    platform::qt::QtDc dc(painter);
    ChartPrintInfo info;
    const platform::qt::DeviceCaps caps = dc.GetDeviceCaps();
    info.drawRect = {0, 0, caps.widthPx, caps.heightPx};
    OnBeginPrinting(dc, info);
    for (int page = 1; page <= info.maxPage && info.continuePrinting; ++page) {
      if (page > 1 && !printer->newPage()) {
        ok = false;
        break;
      }
      info.currentPage = page;
      OnPrint(dc, info);
    }
    OnEndPrinting(dc, info);
  }
  if (!ok) printer->abort();
  painter.end();
  return ok;
}

void CChartCtrl::OnBeginPrinting(ChartDc& printerDc, ChartPrintInfo& info) {
  const platform::qt::DeviceCaps caps = printerDc.GetDeviceCaps();
  const int screenDpiX = logicalDpiX();
  const int screenDpiY = logicalDpiY();
  pageSize_ = {caps.widthPx, caps.heightPx};
  if (caps.dpiX > 0 && caps.dpiY > 0) {
    printSize_ = {(screenDpiX * pageSize_.cx / caps.dpiX) * 3 / 4,
                  (screenDpiY * pageSize_.cy / caps.dpiY) * 3 / 4};
  } else {
    printSize_ = pageSize_;
  }
  info.maxPage = 1;
  info.continuePrinting = true;
}

void CChartCtrl::OnPrint(ChartDc& printerDc, ChartPrintInfo& info) {
  printerDc.SaveDC();
  printerDc.SetMapping(printSize_, pageSize_);
  info.drawRect = {0, 0, printSize_.cx, printSize_.cy};
  DrawChart(printerDc, info.drawRect);
  printerDc.RestoreDC();
}

void CChartCtrl::OnEndPrinting(ChartDc&, ChartPrintInfo&) {
  // The layout was computed for the printer; the mouse works on the screen's.
  RefreshCtrl();
}
