#include "reports/VkcReportPrinter.h"

#include <QDir>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

VkcReportPrinter& VkcReportPrinter::Instance() {
  static VkcReportPrinter printer;
  return printer;
}

void VkcReportPrinter::Reset() { *this = VkcReportPrinter(); }

void VkcReportPrinter::TakeDefault() {
  initialised_ = true;
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (!info.isNull()) {
    QPrinter printer(info, QPrinter::HighResolution);
    printerName_ = info.printerName();
    layout_ = printer.pageLayout();
    return;
  }
  printerName_.clear();
  outputFile_ = QDir::home().filePath(QStringLiteral("Configuration Report.pdf"));
  layout_ = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

std::unique_ptr<QPrinter> VkcReportPrinter::MakePrinter() {
  if (!initialised_) TakeDefault();
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!printerName_.isEmpty()) {
    printer->setPrinterName(printerName_);
  } else {
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(outputFile_);
  }
  printer->setPageLayout(layout_);
  return printer;
}

void VkcReportPrinter::Adopt(const QPrinter& printer) {
  initialised_ = true;
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    printerName_.clear();
    outputFile_ = printer.outputFileName();
  } else {
    printerName_ = printer.printerName();
  }
  layout_ = printer.pageLayout();
}

platform::qt::Size VkcReportPrinter::PaperSizeOf(const QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  // The page size is the paper as it comes, portrait; the orientation swaps it.
  const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
  int w = static_cast<int>(std::lround(mm.width() * 10));
  int h = static_cast<int>(std::lround(mm.height() * 10));
  if (layout.orientation() == QPageLayout::Landscape) std::swap(w, h);
  if (w <= 0 || h <= 0) return {};
  return {w, h};
}

platform::qt::Size VkcReportPrinter::PaperSize() {
  const std::unique_ptr<QPrinter> printer = MakePrinter();
  return PaperSizeOf(*printer);
}
