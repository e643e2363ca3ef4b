#include "chart/CChartCtrl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include "chart/CChartAxis.h"
#include "chart/CChartCrossHairCursor.h"
#include "chart/CChartDragLineCursor.h"
#include "chart/CChartLegend.h"
#include "chart/CChartLineSerie.h"
#include "chart/CChartStandardAxis.h"
#include "chart/CChartTitle.h"
#include "chart/ChartGradient.h"
#include "chart/ChartMouseListener.h"
#include "platform/qt/QtDc.h"

namespace {
// Zoom and undo visit the axes in this order.
constexpr int kAxisOrder[4] = {CChartCtrl::kBottomAxis, CChartCtrl::kLeftAxis, CChartCtrl::kTopAxis,
                               CChartCtrl::kRightAxis};

ChartPoint ToPoint(const QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  return {p.x(), p.y()};
}
}  // namespace

CChartCtrl::CChartCtrl(QWidget* parent)
    : QWidget(parent),
      backColor_(platform::qt::FromQColor(QApplication::palette().color(QPalette::Button))),
      legend_(std::make_unique<CChartLegend>(this)),
      title_(std::make_unique<CChartTitle>(this)) {
  gradientColor1_ = backColor_;
  gradientColor2_ = backColor_;
  seriesIter_ = series_.end();
  // The whole client area is painted from the off-screen picture: no background erase.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
}

CChartCtrl::~CChartCtrl() {
  cursors_.clear();
  series_.clear();
  seriesIter_ = series_.end();
  for (auto& axis : axes_) axis.reset();
  legend_.reset();
  title_.reset();
}

CChartAxis* CChartCtrl::CreateStandardAxis(int position) {
  return AttachCustomAxis(std::make_unique<CChartStandardAxis>(), position);
}

CChartAxis* CChartCtrl::AttachCustomAxis(std::unique_ptr<CChartAxis> axis, int position) {
  if (!axis || position < 0 || position > 3) return nullptr;
  axis->SetParent(this);
  axis->SetSecondary(position == kRightAxis || position == kTopAxis);
  axis->SetHorizontal(position == kBottomAxis || position == kTopAxis);
  axis->CreateScrollBar();
  std::unique_ptr<CChartAxis> old = std::move(axes_[position]);
  axes_[position] = std::move(axis);
  if (old) {
    for (auto& [id, series] : series_) series->ReplaceAxis(old.get(), axes_[position].get());
  }
  return axes_[position].get();
}

CChartAxis* CChartCtrl::GetAxis(int position) const {
  return position >= 0 && position < 4 ? axes_[position].get() : nullptr;
}

CChartLineSerie* CChartCtrl::CreateLineSerie(bool secondaryHorizontal, bool secondaryVertical) {
  return static_cast<CChartLineSerie*>(AttachCustomSerie(std::make_unique<CChartLineSerie>(this),
                                                         secondaryHorizontal, secondaryVertical));
}

CChartSerie* CChartCtrl::AttachCustomSerie(std::unique_ptr<CChartSerie> series,
                                           bool secondaryHorizontal, bool secondaryVertical) {
  if (!series) return nullptr;
  CChartAxis* horizontal = axes_[secondaryHorizontal ? kTopAxis : kBottomAxis].get();
  CChartAxis* vertical = axes_[secondaryVertical ? kRightAxis : kLeftAxis].get();
  // A series needs both its axes to map its points.
  if (!horizontal || !vertical) return nullptr;
  const size_t colour = series_.size() % kPalette.size();
  series->SetPlottingRect(plottingRect_);
  series->SetColor(kPalette[colour]);
  series->SetAxes(horizontal, vertical);
  CChartSerie* raw = series.get();
  series_[raw->GetSerieId()] = std::move(series);
  EnableRefresh(false);
  horizontal->RegisterSeries(raw);
  vertical->RegisterSeries(raw);
  horizontal->RefreshAutoAxis();
  vertical->RefreshAutoAxis();
  RefreshCtrl();
  EnableRefresh(true);
  return raw;
}

CChartCrossHairCursor* CChartCtrl::CreateCrossHairCursor(bool secondaryHorizontal, bool secondaryVertical) {
  CChartAxis* horizontal = axes_[secondaryHorizontal ? kTopAxis : kBottomAxis].get();
  CChartAxis* vertical = axes_[secondaryVertical ? kRightAxis : kLeftAxis].get();
  if (!horizontal || !vertical) return nullptr;
  return static_cast<CChartCrossHairCursor*>(
      AttachCustomCursor(std::make_unique<CChartCrossHairCursor>(this, horizontal, vertical)));
}

CChartDragLineCursor* CChartCtrl::CreateDragLineCursor(bool verticalLine, bool secondaryHorizontal,
                                                       bool secondaryVertical) {
  CChartAxis* horizontal = axes_[secondaryHorizontal ? kTopAxis : kBottomAxis].get();
  CChartAxis* vertical = axes_[secondaryVertical ? kRightAxis : kLeftAxis].get();
  if (!horizontal || !vertical) return nullptr;
  return static_cast<CChartDragLineCursor*>(
      AttachCustomCursor(std::make_unique<CChartDragLineCursor>(this, horizontal, vertical, verticalLine)));
}

CChartCursor* CChartCtrl::AttachCustomCursor(std::unique_ptr<CChartCursor> cursor) {
  if (!cursor) return nullptr;
  CChartCursor* raw = cursor.get();
  cursors_[raw->GetCursorId()] = std::move(cursor);
  RefreshCtrl();
  return raw;
}

void CChartCtrl::RemoveCursor(std::uint32_t cursorId) {
  if (cursors_.erase(cursorId) > 0) RefreshCtrl();
}

bool CChartCtrl::CursorDragging() const {
  for (const auto& [id, cursor] : cursors_) {
    if (cursor->IsDragging()) return true;
  }
  return false;
}

void CChartCtrl::RemoveAllSeries() {
  series_.clear();
  seriesIter_ = series_.end();
  RefreshCtrl();
}

CChartSerie* CChartCtrl::GoToFirstSerie() {
  seriesIter_ = series_.begin();
  return seriesIter_ != series_.end() ? seriesIter_->second.get() : nullptr;
}

CChartSerie* CChartCtrl::GetNextSerie() {
  if (seriesIter_ == series_.end()) return nullptr;
  ++seriesIter_;
  return seriesIter_ != series_.end() ? seriesIter_->second.get() : nullptr;
}

void CChartCtrl::SetBackColor(ChartColor color) {
  backColor_ = color;
  gradient_ = false;
  RefreshCtrl();
}

void CChartCtrl::SetBorderColor(ChartColor color) {
  borderColor_ = color;
  RefreshCtrl();
}

void CChartCtrl::SetBackGradient(ChartColor color1, ChartColor color2, int type) {
  gradient_ = true;
  gradientColor1_ = color1;
  gradientColor2_ = color2;
  gradientType_ = type;
  RefreshCtrl();
}

void CChartCtrl::SetZoomRectColor(ChartColor color) {
  zoomRectColor_ = color;
  RefreshCtrl();
}

void CChartCtrl::EnableRefresh(bool enable) {
  refreshCounter_ += enable ? 1 : -1;
  if (refreshCounter_ > 0 && pendingRefresh_) {
    pendingRefresh_ = false;
    RefreshCtrl();
  }
}

void CChartCtrl::RefreshCtrl() {
  if (width() <= 0 || height() <= 0) return;
  // A refresh asked for while drawing (or while disabled) runs once drawing may start again.
  if (refreshCounter_ < 1 || drawing_) {
    pendingRefresh_ = true;
    return;
  }
  drawing_ = true;
  const ChartRect client{0, 0, width(), height()};
  plottingRect_ = client;
  // A hidden widget gets its resize event only when shown: compare the size as well.
  if (!buffer_.IsValid() || !(buffer_.GetSize() == ChartSize{width(), height()})) buffer_ = platform::qt::MemoryDc({width(), height()}, devicePixelRatioF());
  if (std::unique_ptr<platform::qt::QtDc> dc = buffer_.Begin()) {
    DrawBackground(*dc, client);
    DrawChart(*dc, client.Deflated(3));
  }
  drawing_ = false;
  for (auto& axis : axes_) {
    if (axis && axis->GetScrollBar()) axis->GetScrollBar()->Place(plottingRect_);
  }
  update();
  // A refresh asked for while drawing runs right after, once: the drawing it asks for may have
  // missed what changed. (A second one asked for by that run waits for the next refresh.)
  if (pendingRefresh_ && refreshCounter_ > 0 && !rerunning_) {
    pendingRefresh_ = false;
    rerunning_ = true;
    RefreshCtrl();
    rerunning_ = false;
  }
}

void CChartCtrl::DrawBackground(ChartDc& dc, ChartRect rect) {
  if (gradient_) ChartGradient::Fill(dc, rect, gradientColor1_, gradientColor2_, gradientType_);
  else dc.FillSolidRect(rect, backColor_);
  dc.DrawEdge(rect, edgeType_);
}

void CChartCtrl::DrawChart(ChartDc& dc, ChartRect rect) {
  plottingRect_ = rect;
  ChartRect chart = rect;

  title_->SetTitleRect({rect.left, rect.top, rect.right, rect.top});
  const ChartSize titleSize = title_->GetSize(dc);
  chart.top += titleSize.cy;
  title_->Draw(dc);

  legend_->UpdatePosition(dc, chart);

  for (auto& axis : axes_) {
    if (!axis) continue;
    axis->SetAxisRect(chart, plottingRect_);
    axis->RefreshTicks();
    axis->CalculateMargin(dc, chart, plottingRect_);
  }
  for (auto& axis : axes_) {
    if (!axis) continue;
    axis->SetAxisRect(chart, plottingRect_);
    axis->RefreshTicks();
    axis->Draw(dc);
  }

  const ChartRect& p = plottingRect_;
  dc.SaveDC();
  dc.SelectPen(ChartPen::Solid(0, borderColor_));
  dc.MoveTo(p.left, p.top);
  dc.LineTo(p.right, p.top);
  dc.LineTo(p.right, p.bottom);
  dc.LineTo(p.left, p.bottom);
  dc.LineTo(p.left, p.top);
  dc.RestoreDC();

  const ChartRect seriesRect{p.left, p.top, p.right + 1, p.bottom + 1};
  for (auto& [id, series] : series_) {
    series->SetPlottingRect(seriesRect);
    series->DrawAll(dc);
  }
  dc.SetClipRect(p);
  for (auto& [id, series] : series_) series->DrawLabels(dc);
  for (auto& [id, cursor] : cursors_) cursor->Draw(dc);
  dc.ClearClip();

  legend_->Draw(dc);
}

void CChartCtrl::UndoPanZoom() {
  EnableRefresh(false);
  for (int position : kAxisOrder) {
    if (axes_[position]) axes_[position]->UndoZoom();
  }
  EnableRefresh(true);
}

void CChartCtrl::UpdateAxesScrollBars() {
  for (auto& axis : axes_) {
    if (axis) axis->RefreshScreenAutoAxis();
  }
}

void CChartCtrl::SendMouseEvent(int event, ChartPoint point) {
  if (mouseListener_) {
    if (title_->IsPointInside(point)) mouseListener_->OnMouseEventTitle(event, point);
    if (legend_->IsPointInside(point)) mouseListener_->OnMouseEventLegend(event, point);
    for (auto& axis : axes_) {
      if (axis && axis->IsPointInside(point)) mouseListener_->OnMouseEventAxis(event, point, axis.get());
    }
    if (plottingRect_.PtInRect(point)) mouseListener_->OnMouseEventPlotArea(event, point);
  }
  for (auto& [id, series] : series_) {
    if (series->OnMouseEvent(event, point)) break;
  }
}

void CChartCtrl::OnLButtonDown(ChartPoint point) {
  if (plottingRect_.PtInRect(point)) {
    for (auto& [id, cursor] : cursors_) cursor->OnMouseButtonDown(point);
  }
  // A cursor that took the mouse is dragged; the chart does not zoom meanwhile.
  if (zoomEnabled_ && !CursorDragging()) {
    zoomDragging_ = true;
    zoomRect_ = {point.x, point.y, point.x, point.y};
  }
  SendMouseEvent(kChartLButtonDown, point);
}

void CChartCtrl::OnMouseMove(ChartPoint point) {
  if (plottingRect_.PtInRect(point) || CursorDragging()) {
    for (auto& [id, cursor] : cursors_) cursor->OnMouseMove(point);
  }
  if (panning_ && panEnabled_ && !(point == lastPanPoint_)) {
    EnableRefresh(false);
    for (int position : {kLeftAxis, kRightAxis}) {
      if (axes_[position]) axes_[position]->PanAxis(lastPanPoint_.y, point.y);
    }
    for (int position : {kBottomAxis, kTopAxis}) {
      if (axes_[position]) axes_[position]->PanAxis(lastPanPoint_.x, point.x);
    }
    RefreshCtrl();
    EnableRefresh(true);
    lastPanPoint_ = point;
  }
  if (zoomDragging_ && zoomEnabled_) {
    zoomRect_.right = point.x;
    zoomRect_.bottom = point.y;
    update();
  }
  for (auto& axis : axes_) {
    if (axis && axis->GetScrollBar()) axis->GetScrollBar()->OnMouseLeave();
  }
  if (auto* bar = qobject_cast<CChartScrollBar*>(childAt(point.x, point.y))) bar->OnMouseEnter();
  if (!mouseCursorShown_ && plottingRect_.PtInRect(point)) setCursor(Qt::BlankCursor);
  else unsetCursor();
  SendMouseEvent(kChartMouseMove, point);
}

void CChartCtrl::OnLButtonUp(ChartPoint point) {
  const bool wasZooming = zoomDragging_;
  zoomDragging_ = false;
  for (auto& [id, cursor] : cursors_) cursor->OnMouseButtonUp(point);
  if (zoomEnabled_ && wasZooming) {
    const ChartRect& z = zoomRect_;
    if (z.left > z.right || z.top > z.bottom) {
      UndoPanZoom();
    } else if (z.left != z.right && z.top != z.bottom) {
      for (int position : kAxisOrder) {
        CChartAxis* axis = axes_[position].get();
        if (!axis) continue;
        double v1;
        double v2;
        if (axis->IsHorizontal()) {
          v1 = axis->ScreenToValue(z.left);
          v2 = axis->ScreenToValue(z.right);
        } else {
          v1 = axis->ScreenToValue(z.bottom);
          v2 = axis->ScreenToValue(z.top);
        }
        axis->SetZoomMinMax(std::min(v1, v2), std::max(v1, v2));
      }
      RefreshCtrl();
    }
    update();  // the rubber band goes
  }
  SendMouseEvent(kChartLButtonUp, point);
}

void CChartCtrl::OnLButtonDblClk(ChartPoint point) { SendMouseEvent(kChartLButtonDblClk, point); }

void CChartCtrl::OnRButtonDown(ChartPoint point) {
  panning_ = true;
  if (panEnabled_) lastPanPoint_ = point;
  SendMouseEvent(kChartRButtonDown, point);
}

void CChartCtrl::OnRButtonUp(ChartPoint point) {
  panning_ = false;
  SendMouseEvent(kChartRButtonUp, point);
}

void CChartCtrl::OnRButtonDblClk(ChartPoint point) { SendMouseEvent(kChartRButtonDblClk, point); }

void CChartCtrl::OnScroll(CChartScrollBar* bar, int code, int position) {
  if (bar) bar->OnHScroll(code, position);
  RefreshCtrl();
}

void CChartCtrl::paintEvent(QPaintEvent*) {
  if (!paintedOnce_) {
    paintedOnce_ = true;
    RefreshCtrl();
  }
  QPainter painter(this);
  platform::qt::QtDc dc(painter);
  buffer_.BlitTo(dc);
  if (zoomEnabled_ && zoomDragging_) {
    dc.SelectPen(ChartPen::Solid(1, zoomRectColor_));
    dc.MoveTo(zoomRect_.left, zoomRect_.top);
    dc.LineTo(zoomRect_.right, zoomRect_.top);
    dc.LineTo(zoomRect_.right, zoomRect_.bottom);
    dc.LineTo(zoomRect_.left, zoomRect_.bottom);
    dc.LineTo(zoomRect_.left, zoomRect_.top);
  }
}

void CChartCtrl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  buffer_ = platform::qt::MemoryDc();
  RefreshCtrl();
}

void CChartCtrl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnLButtonDown(ToPoint(event));
  else if (event->button() == Qt::RightButton) OnRButtonDown(ToPoint(event));
  QWidget::mousePressEvent(event);
}

void CChartCtrl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnLButtonUp(ToPoint(event));
  else if (event->button() == Qt::RightButton) OnRButtonUp(ToPoint(event));
  QWidget::mouseReleaseEvent(event);
}

void CChartCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnLButtonDblClk(ToPoint(event));
  else if (event->button() == Qt::RightButton) OnRButtonDblClk(ToPoint(event));
  QWidget::mouseDoubleClickEvent(event);
}

void CChartCtrl::mouseMoveEvent(QMouseEvent* event) {
  OnMouseMove(ToPoint(event));
  QWidget::mouseMoveEvent(event);
}
