#include "chart/CChartCandlestickSerie.h"

#include <cstdlib>
#include <vector>

#include "chart/CChartCtrl.h"

CChartCandlestickSerie::CChartCandlestickSerie(CChartCtrl* parent) : CChartSerieBase(parent) {
  buffer_.SetOrdering(PointBuffer::kOrderByX);
}

void CChartCandlestickSerie::SetWidth(int pixels) {
  width_ = std::max(pixels, 1);
  RefreshParent();
}

void CChartCandlestickSerie::AddPoint(double x, double low, double high, double open, double close) {
  std::vector<SChartCandlestickPoint> points(buffer_.GetCount() + 1);
  for (unsigned i = 0; i < buffer_.GetCount(); ++i) points[i] = buffer_[i];
  points.back() = {x, low, high, open, close};
  SetPoints(points.data(), static_cast<unsigned>(points.size()));
}

void CChartCandlestickSerie::DrawCandle(ChartDc& dc, const SChartCandlestickPoint& p) const {
  const int x = horizontalAxis_->ValueToScreen(p.XVal);
  const int low = verticalAxis_->ValueToScreen(p.Low);
  const int high = verticalAxis_->ValueToScreen(p.High);
  const int open = verticalAxis_->ValueToScreen(p.Open);
  const int close = verticalAxis_->ValueToScreen(p.Close);
  dc.MoveTo(x, low);
  dc.LineTo(x, high);
  const int top = std::min(open, close);
  const int bottom = std::max(open, close) + 1;
  // A falling candle is filled, a rising one hollow (white).
  dc.SelectBrush(platform::qt::Brush::Solid(p.Close < p.Open ? color_ : 0xFFFFFF));
  dc.Rectangle({x - width_ / 2, top, x - width_ / 2 + width_, bottom});
}

void CChartCandlestickSerie::DrawAll(ChartDc& dc) {
  if (!visible_ || !horizontalAxis_ || !verticalAxis_) return;
  unsigned first = 0;
  unsigned last = 0;
  if (!GetVisiblePoints(first, last)) return;
  dc.SaveDC();
  dc.SetClipRect(plottingRect_);
  dc.SelectPen(ChartPen::Solid(0, color_));
  for (unsigned i = first; i <= last && i < GetPointsCount(); ++i) DrawCandle(dc, buffer_[i]);
  lastDrawnPoint_ = last;
  dc.RestoreDC();
}

void CChartCandlestickSerie::DrawLegend(ChartDc& dc, const ChartRect& rect) const {
  if (name_.empty()) return;
  dc.SaveDC();
  dc.SelectPen(ChartPen::Solid(0, color_));
  const int x = (rect.left + rect.right) / 2;
  dc.MoveTo(x, rect.top);
  dc.LineTo(x, rect.bottom);
  dc.SelectBrush(platform::qt::Brush::Solid(color_));
  dc.Rectangle({x - 3, rect.top + 2, x + 4, rect.bottom - 2});
  dc.RestoreDC();
}

bool CChartCandlestickSerie::IsPointOnSerie(ChartPoint point, int& index) const {
  index = -1;
  unsigned first = 0;
  unsigned last = 0;
  if (!visible_ || !horizontalAxis_ || !verticalAxis_ || !GetVisiblePoints(first, last)) return false;
  for (unsigned i = first; i <= last && i < GetPointsCount(); ++i) {
    const SChartCandlestickPoint& p = buffer_[i];
    const int x = horizontalAxis_->ValueToScreen(p.XVal);
    const int y1 = verticalAxis_->ValueToScreen(p.Low);
    const int y2 = verticalAxis_->ValueToScreen(p.High);
    if (std::abs(point.x - x) <= std::max(width_ / 2, 2) && point.y >= std::min(y1, y2) && point.y <= std::max(y1, y2)) {
      index = static_cast<int>(i);
      return true;
    }
  }
  return false;
}
