#include "chart/CChartPointsSerie.h"

#include <cstdlib>

#include "chart/CChartCtrl.h"

void CChartPointsSerie::SetPointSize(int width, int height) {
  width_ = std::max(width, 1);
  height_ = std::max(height, 1);
  RefreshParent();
}

void CChartPointsSerie::SetPointType(int type) {
  if (type >= kEllipse && type <= kTriangle) type_ = type;
  RefreshParent();
}

void CChartPointsSerie::SetBorderColor(ChartColor color) {
  border_ = color;
  RefreshParent();
}

void CChartPointsSerie::DrawMarker(ChartDc& dc, ChartPoint c) const {
  const ChartRect r{c.x - width_ / 2, c.y - height_ / 2, c.x - width_ / 2 + width_, c.y - height_ / 2 + height_};
  switch (type_) {
    case kRectangle: dc.Rectangle(r); break;
    case kTriangle: {
      const ChartPoint tri[] = {{c.x, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
      dc.Polygon(tri);
      break;
    }
    default: dc.Ellipse(r); break;
  }
}

void CChartPointsSerie::DrawAll(ChartDc& dc) {
  if (!visible_) return;
  unsigned first = 0;
  unsigned last = 0;
  if (!GetVisiblePoints(first, last)) return;
  dc.SaveDC();
  dc.SetClipRect(plottingRect_);
  dc.SelectPen(ChartPen::Solid(0, border_));
  if (shadow_) {
    dc.SelectBrush(platform::qt::Brush::Solid(shadowColor_));
    for (unsigned i = first; i <= last && i < GetPointsCount(); ++i) {
      ChartPoint p = GetPointScreenCoord(i);
      p.x += shadowDepth_;
      p.y += shadowDepth_;
      DrawMarker(dc, p);
    }
  }
  dc.SelectBrush(platform::qt::Brush::Solid(color_));
  for (unsigned i = first; i <= last && i < GetPointsCount(); ++i) DrawMarker(dc, GetPointScreenCoord(i));
  lastDrawnPoint_ = last;
  dc.RestoreDC();
}

void CChartPointsSerie::DrawLegend(ChartDc& dc, const ChartRect& rect) const {
  if (name_.empty()) return;
  dc.SaveDC();
  dc.SelectPen(ChartPen::Solid(0, border_));
  dc.SelectBrush(platform::qt::Brush::Solid(color_));
  DrawMarker(dc, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  dc.RestoreDC();
}

bool CChartPointsSerie::IsPointOnSerie(ChartPoint point, int& index) const {
  index = -1;
  unsigned first = 0;
  unsigned last = 0;
  if (!visible_ || !GetVisiblePoints(first, last)) return false;
  for (unsigned i = first; i <= last && i < GetPointsCount(); ++i) {
    const ChartPoint p = GetPointScreenCoord(i);
    if (std::abs(p.x - point.x) <= 5 && std::abs(p.y - point.y) <= 5) {
      index = static_cast<int>(i);
      return true;
    }
  }
  return false;
}
