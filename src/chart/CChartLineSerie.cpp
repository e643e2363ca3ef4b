#include "chart/CChartLineSerie.h"

#include <cmath>
#include <cstdlib>

#include "chart/CChartCtrl.h"
#include "chart/ChartMath.h"
#include "chart/ChartSmoothing.h"

void CChartLineSerie::SetWidth(int pixels) {
  width_ = pixels;
  RefreshParent();
}

void CChartLineSerie::SetPenStyle(int style) {
  penStyle_ = style;
  RefreshParent();
}

void CChartLineSerie::SetSmooth(bool on) {
  smooth_ = on;
  RefreshParent();
}

ChartPen CChartLineSerie::MakePen(ChartColor color) const {
  return ChartPen{penStyle_, width_, color, penStyle_ != platform::qt::kPsSolid};
}

void CChartLineSerie::DrawAll(ChartDc& dc) {
  if (!visible_) return;
  unsigned first = 0;
  unsigned last = 0;
  if (!GetVisiblePoints(first, last)) return;
  // One more point each side, so the lines into and out of the visible range are drawn.
  if (first > 0) --first;
  if (last + 1 < GetPointsCount()) ++last;
  if (first >= last) return;

  const ChartPen pen = MakePen(color_);
  const ChartPen shadowPen = MakePen(shadowColor_);
  dc.SaveDC();
  dc.SetBkMode(platform::qt::BkMode::Transparent);
  dc.SetClipRect(plottingRect_);
  if (smooth_) {
    DrawSmooth(dc, pen, shadowPen);
  } else {
    scratch_.clear();
    scratch_.reserve(last - first + 1);
    for (unsigned i = first; i <= last; ++i) {
      const ChartPoint p = GetPointScreenCoord(i);
      if (scratch_.empty() || !(p == scratch_.back())) scratch_.push_back(p);
    }
    if (shadow_) {
      std::vector<ChartPoint> shadowPoints(scratch_);
      for (ChartPoint& p : shadowPoints) {
        p.x += shadowDepth_;
        p.y += shadowDepth_;
      }
      dc.SelectPen(shadowPen);
      dc.Polyline(shadowPoints);
    }
    dc.SelectPen(pen);
    dc.Polyline(scratch_);
  }
  lastDrawnPoint_ = last;
  dc.RestoreDC();
}

void CChartLineSerie::DrawSmooth(ChartDc& dc, const ChartPen& pen, const ChartPen& shadowPen) {
  const unsigned count = GetPointsCount();
  if (count < 2) return;
  std::vector<double> kx(count), ky(count);
  for (unsigned i = 0; i < count; ++i) {
    const ChartPoint p = GetPointScreenCoord(i);
    kx[i] = p.x;
    ky[i] = p.y;
  }
  std::vector<double> p1x, p2x, p1y, p2y;
  ChartSmoothing::ComputeControlPoints(kx, p1x, p2x);
  ChartSmoothing::ComputeControlPoints(ky, p1y, p2y);
  std::vector<ChartPoint> bezier;
  bezier.reserve(3 * (count - 1) + 1);
  bezier.push_back({static_cast<int>(kx[0]), static_cast<int>(ky[0])});
  for (unsigned i = 0; i + 1 < count; ++i) {
    bezier.push_back({ChartPixelOffset(p1x[i]), ChartPixelOffset(p1y[i])});
    bezier.push_back({ChartPixelOffset(p2x[i]), ChartPixelOffset(p2y[i])});
    bezier.push_back({static_cast<int>(kx[i + 1]), static_cast<int>(ky[i + 1])});
  }
  if (shadow_) {
    std::vector<ChartPoint> shadowPoints(bezier);
    for (ChartPoint& p : shadowPoints) {
      p.x += shadowDepth_;
      p.y += shadowDepth_;
    }
    dc.SelectPen(shadowPen);
    dc.PolyBezier(shadowPoints);
  }
  dc.SelectPen(pen);
  dc.PolyBezier(bezier);
}

void CChartLineSerie::Draw(ChartDc& dc) {
  if (shadow_ || smooth_) {
    DrawAll(dc);
    return;
  }
  if (!visible_) return;
  const unsigned count = GetPointsCount();
  if (count < 2 || lastDrawnPoint_ + 1 >= count) return;
  dc.SaveDC();
  dc.SetBkMode(platform::qt::BkMode::Transparent);
  if (parent_) dc.SetClipRect(parent_->GetPlottingRect());
  dc.SelectPen(MakePen(color_));
  for (unsigned i = lastDrawnPoint_; i + 1 < count; ++i) {
    const ChartPoint a = GetPointScreenCoord(i);
    const ChartPoint b = GetPointScreenCoord(i + 1);
    dc.MoveTo(a.x, a.y);
    dc.LineTo(b.x, b.y);
  }
  lastDrawnPoint_ = count - 1;
  dc.RestoreDC();
}

void CChartLineSerie::DrawLegend(ChartDc& dc, const ChartRect& rect) const {
  if (name_.empty()) return;
  dc.SaveDC();
  dc.SelectPen(ChartPen{penStyle_, width_, color_, true});
  const int mid = (rect.top + rect.bottom) / 2;
  dc.MoveTo(rect.left, mid);
  dc.LineTo(rect.right, mid);
  dc.RestoreDC();
}

bool CChartLineSerie::IsPointOnSerie(ChartPoint point, int& index) const {
  index = -1;
  if (!visible_) return false;
  unsigned first = 0;
  unsigned last = 0;
  if (!GetVisiblePoints(first, last)) return false;
  if (first > 0) --first;
  if (last + 1 < GetPointsCount()) ++last;
  for (unsigned i = first; i < last; ++i) {
    const ChartPoint a = GetPointScreenCoord(i);
    const ChartPoint b = GetPointScreenCoord(i + 1);
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    const double len2 = dx * dx + dy * dy;
    if (len2 == 0) continue;  // both ends on one pixel: no direction to project on
    const double u = ((point.x - static_cast<double>(a.x)) * dx + (point.y - static_cast<double>(a.y)) * dy) / len2;
    if (u < 0 || u > 1) continue;
    const double fx = a.x + u * dx;
    const double fy = a.y + u * dy;
    if (std::fabs(point.x - fx) > 3 || std::fabs(point.y - fy) > 3) continue;
    if (std::abs(point.x - a.x) <= 5 && std::abs(point.y - a.y) <= 5) index = static_cast<int>(i);
    if (std::abs(point.x - b.x) <= 5 && std::abs(point.y - b.y) <= 5) index = static_cast<int>(i + 1);
    return true;
  }
  return false;
}
