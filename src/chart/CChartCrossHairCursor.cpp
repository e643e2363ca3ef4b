#include "chart/CChartCrossHairCursor.h"

#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"

void CChartCrossHairCursor::OnMouseMove(ChartPoint point) {
  position_ = point;
  placed_ = true;
  CursorMoved(horizontal_ ? horizontal_->ScreenToValue(point.x) : 0,
              vertical_ ? vertical_->ScreenToValue(point.y) : 0);
  RefreshParent();
}

void CChartCrossHairCursor::Draw(ChartDc& dc) {
  if (!placed_ || !parent_) return;
  const ChartRect r = parent_->GetPlottingRect();
  if (!r.PtInRect(position_)) return;
  dc.SaveDC();
  dc.SelectPen(ChartPen::Solid(0, color_));
  dc.MoveTo(r.left, position_.y);
  dc.LineTo(r.right, position_.y);
  dc.MoveTo(position_.x, r.top);
  dc.LineTo(position_.x, r.bottom);
  dc.RestoreDC();
}
