#include "chart/CChartGanttSerie.h"

#include <algorithm>
#include <vector>

#include "chart/CChartCtrl.h"
#include "chart/ChartGradient.h"

CChartGanttSerie::CChartGanttSerie(CChartCtrl* parent) : CChartSerieBase(parent) {
  buffer_.SetOrdering(PointBuffer::kNoOrdering);
}

void CChartGanttSerie::AddPoint(double start, double end, double y) {
  std::vector<SChartGanttPoint> points(buffer_.GetCount() + 1);
  for (unsigned i = 0; i < buffer_.GetCount(); ++i) points[i] = buffer_[i];
  points.back() = {std::min(start, end), std::max(start, end), y};
  SetPoints(points.data(), static_cast<unsigned>(points.size()));
}

void CChartGanttSerie::SetBarWidth(int pixels) {
  barWidth_ = std::max(pixels, 1);
  RefreshParent();
}

void CChartGanttSerie::SetBorderColor(ChartColor color) {
  border_ = color;
  RefreshParent();
}

void CChartGanttSerie::ShowGradient(bool on) {
  gradient_ = on;
  RefreshParent();
}

void CChartGanttSerie::SetGradient(ChartColor color, int type) {
  gradientColor_ = color;
  gradientType_ = type;
  RefreshParent();
}

bool CChartGanttSerie::GetVisiblePoints(unsigned& first, unsigned& last) const {
  if (GetPointsCount() == 0) return false;
  first = 0;
  last = GetPointsCount() - 1;
  return true;
}

ChartRect CChartGanttSerie::GetBarRect(unsigned index) const {
  const SChartGanttPoint& p = buffer_[index];
  const int x1 = horizontalAxis_->ValueToScreen(p.StartTime);
  const int x2 = horizontalAxis_->ValueToScreen(p.EndTime);
  const int y = verticalAxis_->ValueToScreen(p.YValue);
  return {std::min(x1, x2), y - barWidth_ / 2, std::max(x1, x2) + 1, y - barWidth_ / 2 + barWidth_};
}

void CChartGanttSerie::DrawAll(ChartDc& dc) {
  if (!visible_ || !horizontalAxis_ || !verticalAxis_) return;
  dc.SaveDC();
  dc.SetClipRect(plottingRect_);
  dc.SelectPen(ChartPen::Solid(0, border_));
  dc.SelectBrush(platform::qt::Brush::Hollow());
  for (unsigned i = 0; i < GetPointsCount(); ++i) {
    const ChartRect r = GetBarRect(i);
    if (gradient_) ChartGradient::Fill(dc, r, color_, gradientColor_, gradientType_);
    else dc.FillSolidRect(r, color_);
    dc.Rectangle(r);
  }
  lastDrawnPoint_ = GetPointsCount() ? GetPointsCount() - 1 : 0;
  dc.RestoreDC();
}

void CChartGanttSerie::DrawLegend(ChartDc& dc, const ChartRect& rect) const {
  if (name_.empty()) return;
  dc.FillSolidRect(rect, color_);
}

bool CChartGanttSerie::IsPointOnSerie(ChartPoint point, int& index) const {
  index = -1;
  if (!visible_ || !horizontalAxis_ || !verticalAxis_) return false;
  for (unsigned i = 0; i < GetPointsCount(); ++i) {
    if (GetBarRect(i).PtInRect(point)) {
      index = static_cast<int>(i);
      return true;
    }
  }
  return false;
}
