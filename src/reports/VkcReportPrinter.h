#pragma once
// The program's printer: the default printer of the system, or, where none is installed, an A4 PDF
// file. Page Setup and Print change it for the rest of the run. A QPrinter cannot be copied, so
// what identifies it is kept and a printer is made from it when needed.

#include <QPageLayout>
#include <QString>
#include <memory>

#include "platform/qt/Size.h"

class QPrinter;

class VkcReportPrinter {
 public:
  static VkcReportPrinter& Instance();

  // A printer with the kept settings; the first call takes the system's default printer.
  std::unique_ptr<QPrinter> MakePrinter();
  // Keeps what the user chose in a page-setup or print dialog.
  void Adopt(const QPrinter& printer);
  // The paper in tenths of a millimetre, width and length swapped in landscape; 0 x 0 when the
  // printer reports no usable page size.
  platform::qt::Size PaperSize();
  static platform::qt::Size PaperSizeOf(const QPrinter& printer);

  // Forgets the choices (tests); the next printer is the default one again.
  void Reset();

 private:
  void TakeDefault();

  bool initialised_ = false;
  QString printerName_;  // empty: a PDF file
  QString outputFile_;
  QPageLayout layout_;
};
