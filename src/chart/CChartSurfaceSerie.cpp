#include "chart/CChartSurfaceSerie.h"

#include <vector>

#include "chart/CChartAxis.h"
#include "chart/CChartCtrl.h"

void CChartSurfaceSerie::SetFillStyle(int style) {
  fillStyle_ = style;
  RefreshParent();
}

void CChartSurfaceSerie::SetHorizontal(bool horizontal) {
  horizontal_ = horizontal;
  // Filling towards the vertical axis walks the points by Y.
  buffer_.SetOrdering(horizontal ? PointBuffer::kOrderByX : PointBuffer::kOrderByY);
  RefreshParent();
}

platform::qt::Brush CChartSurfaceSerie::MakeBrush() const {
  switch (fillStyle_) {
    case kHatchDownward: return platform::qt::Brush::Hatched(platform::qt::kHsFDiagonal, color_);
    case kHatchUpward: return platform::qt::Brush::Hatched(platform::qt::kHsBDiagonal, color_);
    case kHatchCross: return platform::qt::Brush::Hatched(platform::qt::kHsDiagCross, color_);
    default: return platform::qt::Brush::Solid(color_);
  }
}

void CChartSurfaceSerie::DrawAll(ChartDc& dc) {
  if (!visible_ || !horizontalAxis_ || !verticalAxis_) return;
  unsigned first = 0;
  unsigned last = 0;
  if (!GetVisiblePoints(first, last)) return;
  if (first > 0) --first;
  if (last + 1 < GetPointsCount()) ++last;
  std::vector<ChartPoint> polygon;
  for (unsigned i = first; i <= last; ++i) polygon.push_back(GetPointScreenCoord(i));
  if (polygon.empty()) return;
  // Closed along the axis it fills towards, where that axis stands in the plotting area.
  const ChartRect& r = plottingRect_;
  if (horizontal_) {
    const int base = horizontalAxis_->GetPosition() == 100 ? r.bottom - 1 : r.top;
    polygon.push_back({polygon.back().x, base});
    polygon.push_back({polygon.front().x, base});
  } else {
    const int base = verticalAxis_->GetPosition() == 0 ? r.left : r.right - 1;
    polygon.push_back({base, polygon.back().y});
    polygon.push_back({base, polygon.front().y});
  }
  dc.SaveDC();
  dc.SetClipRect(plottingRect_);
  dc.SelectPen(ChartPen::Solid(0, color_));
  dc.SelectBrush(MakeBrush());
  dc.Polygon(polygon);
  lastDrawnPoint_ = last;
  dc.RestoreDC();
}

void CChartSurfaceSerie::DrawLegend(ChartDc& dc, const ChartRect& rect) const {
  if (name_.empty()) return;
  dc.SaveDC();
  dc.SelectPen(ChartPen::Solid(0, color_));
  dc.SelectBrush(MakeBrush());
  dc.Rectangle(rect);
  dc.RestoreDC();
}

bool CChartSurfaceSerie::IsPointOnSerie(ChartPoint point, int& index) const {
  index = -1;
  return false;  // an area has no point to pick
}
