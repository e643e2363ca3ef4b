#include "reports/VkcPrintPaper.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "app/ModulinkApp.h"
#include "platform/qt/QtDc.h"
#include "reports/VkcConfigurationReportItems.h"
#include "reports/VkcPrinterTarget.h"

using platform::qt::Point;
using platform::qt::Rect;

VkcPrintPaper::VkcPrintPaper(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setObjectName(QStringLiteral("printPaper"));
}

VkcPrintPaper::~VkcPrintPaper() = default;

void VkcPrintPaper::Create(VkcSystem& system, platform::qt::Size paper) {
  paper_ = paper;
  BuildConfigurationReport(system);
  Paginate();
  ShowPage(0);
}

void VkcPrintPaper::BuildConfigurationReport(VkcSystem& system) {
  BuildConfigurationReportItems(document_, system, paper_.cx);
}

void VkcPrintPaper::Paginate() {
  // Paper units are measured one to one: fonts are sized in paper units too.
  QImage scratch(1, 1, QImage::Format_RGB32);
  platform::qt::QtDc dc(&scratch);
  document_.Paginate(dc, paper_.cx, paper_.cy);
}

void VkcPrintPaper::SetPaperSize(platform::qt::Size paper) {
  paper_ = paper;
  update();
}

void VkcPrintPaper::ShowPage(int n) {
  if (n < 0 || n >= PageCount()) return;
  current_ = n;
  highlighted_ = nullptr;
  if (pageShown_) pageShown_(n);
  update();
}

void VkcPrintPaper::OnNext() {
  if (CanNext()) ShowPage(current_ + 1);
}

void VkcPrintPaper::OnPrevious() {
  if (CanPrevious()) ShowPage(current_ - 1);
}

bool VkcPrintPaper::Print(QPrinter& printer, int fromPage, int toPage, int copies, bool collate) {
  VkcPrinterTarget target(printer);
  return document_.Print(target, fromPage, toPage, copies, collate, paper_.cx, paper_.cy,
                         [](const char16_t* text) {
                           if (ModulinkApp* app = ModulinkApp::Instance()) app->ShowMessage(std::u16string(text));
                         });
}

Point VkcPrintPaper::ToPaper(QPoint p) const {
  const int w = std::max(width(), 1);
  const int h = std::max(height(), 1);
  return {static_cast<int>(static_cast<long long>(p.x()) * paper_.cx / w),
          static_cast<int>(static_cast<long long>(p.y()) * paper_.cy / h)};
}

VkcPaperItem* VkcPrintPaper::ItemAt(Point p) const {
  for (const auto& item : document_.GetPage(current_)) {
    if (item->GetRect().PtInRect(p)) return item.get();
  }
  return nullptr;
}

void VkcPrintPaper::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  platform::qt::QtDc dc(painter);
  dc.FillSolidRect({0, 0, width(), height()}, 0xFFFFFF);
  dc.SetMapping(paper_, {width(), height()});
  for (const auto& item : document_.GetPage(current_)) {
    item->DrawItem(dc);
  }
  if (dragCopy_) dragCopy_->DrawItem(dc);
  if (highlighted_ != nullptr) {
    dc.SelectPen(platform::qt::Pen::Solid(3, 0x00FFFF));
    dc.SelectBrush(platform::qt::Brush::Hollow());
    dc.SetXorMode(true);
    dc.Rectangle(highlighted_->GetRect().Inflated(20));
    dc.SetXorMode(false);
  }
}

void VkcPrintPaper::mouseMoveEvent(QMouseEvent* event) {
  const Point p = ToPaper(event->position().toPoint());
  if (dragging_ && dragCopy_) {
    dragCopy_->SetPosition(p.x - grabOffset_.x, p.y - grabOffset_.y);
    update();
    return;
  }
  VkcPaperItem* under = ItemAt(p);
  if (under != highlighted_) {
    highlighted_ = under;
    update();
  }
}

void VkcPrintPaper::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || highlighted_ == nullptr) return;
  const Point p = ToPaper(event->position().toPoint());
  dragging_ = true;
  dragged_ = highlighted_;
  dragCopy_ = dragged_->CloneWithGeometry();
  grabOffset_ = {p.x - dragged_->GetPosition().x, p.y - dragged_->GetPosition().y};
  highlighted_ = nullptr;
  update();
}

void VkcPrintPaper::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  if (dragged_ != nullptr && dragCopy_) {
    const Point at = dragCopy_->GetPosition();
    dragged_->SetPosition(at.x, at.y);
    highlighted_ = dragged_;
  }
  dragCopy_.reset();
  dragged_ = nullptr;
  update();
}
