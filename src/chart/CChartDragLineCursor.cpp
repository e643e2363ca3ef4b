#include "chart/CChartDragLineCursor.h"

#include <cstdlib>

#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"

CChartDragLineCursor::CChartDragLineCursor(CChartCtrl* parent, CChartAxis* horizontal, CChartAxis* vertical,
                                           bool verticalLine)
    : CChartCursor(parent, horizontal, vertical), vertical_line_(verticalLine) {}

int CChartDragLineCursor::LinePixel() const { return Axis() ? Axis()->ValueToScreen(value_) : 0; }

void CChartDragLineCursor::SetPosition(double value) {
  value_ = value;
  RefreshParent();
}

void CChartDragLineCursor::OnMouseButtonDown(ChartPoint point) {
  if (!Axis()) return;
  const int at = vertical_line_ ? point.x : point.y;
  if (std::abs(at - LinePixel()) <= 3) dragging_ = true;
}

void CChartDragLineCursor::OnMouseMove(ChartPoint point) {
  if (!dragging_ || !Axis()) return;
  value_ = Axis()->ScreenToValue(vertical_line_ ? point.x : point.y);
  if (vertical_line_) CursorMoved(value_, 0);
  else CursorMoved(0, value_);
  RefreshParent();
}

void CChartDragLineCursor::OnMouseButtonUp(ChartPoint point) { dragging_ = false; }

void CChartDragLineCursor::Draw(ChartDc& dc) {
  if (!parent_ || !Axis()) return;
  const ChartRect r = parent_->GetPlottingRect();
  const int at = LinePixel();
  dc.SaveDC();
  dc.SelectPen(ChartPen::Solid(0, color_));
  if (vertical_line_) {
    if (at < r.left || at > r.right) {
      dc.RestoreDC();
      return;
    }
    dc.MoveTo(at, r.top);
    dc.LineTo(at, r.bottom);
  } else {
    if (at < r.top || at > r.bottom) {
      dc.RestoreDC();
      return;
    }
    dc.MoveTo(r.left, at);
    dc.LineTo(r.right, at);
  }
  dc.RestoreDC();
}
