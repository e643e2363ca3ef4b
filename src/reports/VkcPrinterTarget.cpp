#include "reports/VkcPrinterTarget.h"

#include <QPrinter>

bool VkcPrinterTarget::StartDoc(const std::u16string& name) {
  printer_.setDocName(QString::fromStdU16String(name));
  if (!painter_.begin(&printer_)) return false;
  dc_ = std::make_unique<platform::qt::QtDc>(painter_);
  firstSheet_ = true;
  return true;
}

bool VkcPrinterTarget::StartPage() {
  // Opening the painter started the first sheet.
  if (firstSheet_) {
    firstSheet_ = false;
    return true;
  }
  return printer_.newPage();
}

void VkcPrinterTarget::EndDoc() {
  dc_.reset();
  painter_.end();
}

void VkcPrinterTarget::AbortDoc() {
  printer_.abort();
  dc_.reset();
  if (painter_.isActive()) painter_.end();
}

platform::qt::Size VkcPrinterTarget::GetPrintableSize() const { return {printer_.width(), printer_.height()}; }
