#pragma once
// Printing onto a QPrinter: the document opens a painter on it, each further sheet is a new page.

#include <QPainter>
#include <memory>

#include "platform/qt/QtDc.h"
#include "reports/VkcPaperDocument.h"

class QPrinter;

class VkcPrinterTarget : public VkcPrintTarget {
 public:
  explicit VkcPrinterTarget(QPrinter& printer) : printer_(printer) {}
  bool StartDoc(const std::u16string& name) override;
  bool StartPage() override;
  void EndPage() override {}
  void EndDoc() override;
  void AbortDoc() override;
  platform::qt::Dc& GetDc() override { return *dc_; }
  platform::qt::Size GetPrintableSize() const override;

 private:
  QPrinter& printer_;
  QPainter painter_;
  std::unique_ptr<platform::qt::QtDc> dc_;
  bool firstSheet_ = true;
};
