#include "chart/CChartAxis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/CChartCtrl.h"
#include "chart/CChartSerie.h"
#include "chart/ChartMath.h"

CChartAxis::CChartAxis() {
  grid_.SetHorizontal(true);
  label_.SetHorizontal(true);
}

CChartAxis::~CChartAxis() = default;

void CChartAxis::RefreshParent() {
  if (parent_) parent_->RefreshCtrl();
}

void CChartAxis::SetDiscrete(bool discrete) {
  discrete_ = discrete;
  RefreshParent();
}

int CChartAxis::GetAxisLength() const { return std::abs(end_ - start_); }

int CChartAxis::Middle() const {
  const int half = GetAxisLength() / 2;
  return horizontal_ ? start_ + half : start_ - half;
}

int CChartAxis::LinearOffset(double value) const {
  return ChartPixelOffset(std::floor(GetAxisLength() * (value - min_) / (max_ - min_)));
}

double CChartAxis::ScreenToValue(int pixel) const {
  const int length = GetAxisLength();
  // An empty range or a collapsed axis has only one value to give.
  if (max_ == min_ || length == 0) return min_;
  double offset;
  if (horizontal_) offset = inverted_ ? end_ - pixel : pixel - start_;
  else offset = inverted_ ? pixel - end_ : start_ - pixel;
  return offset / length * (max_ - min_) + min_;
}

int CChartAxis::ValueToScreenStandard(double value) const {
  if (max_ == min_) return Middle();
  const int offset = LinearOffset(value);
  if (horizontal_) return inverted_ ? end_ - offset : start_ + offset;
  return inverted_ ? end_ + offset : start_ - offset;
}

int CChartAxis::ValueToScreen(double value) const {
  if (max_ == min_) return Middle();
  return discrete_ ? ValueToScreenDiscrete(value) : ValueToScreenStandard(value);
}

bool CChartAxis::IsValueOnScreen(double value) const {
  const int q = ValueToScreen(value);
  return q >= std::min(start_, end_) && q <= std::max(start_, end_);
}

int CChartAxis::GetPosition() const {
  if (horizontal_) return secondary_ ? 0 : 100;
  return secondary_ ? 100 : 0;
}

void CChartAxis::SetHorizontal(bool horizontal) {
  horizontal_ = horizontal;
  grid_.SetHorizontal(horizontal);
  label_.SetHorizontal(horizontal);
}

void CChartAxis::SetParent(CChartCtrl* parent) {
  parent_ = parent;
  grid_.SetParent(parent);
  label_.SetParent(parent);
}

void CChartAxis::CreateScrollBar() {
  scrollBar_ = std::make_unique<CChartScrollBar>(this);
  if (parent_) scrollBar_->CreateScrollBar(parent_, parent_->GetPlottingRect());
}

void CChartAxis::RefreshScrollBar() {
  if (scrollBar_) scrollBar_->Refresh();
}

void CChartAxis::SetMinMax(double min, double max) {
  min_ = min;
  max_ = max;
  undoMin_ = min;
  undoMax_ = max;
  RefreshScrollBar();
  RefreshParent();
}

void CChartAxis::SetInverted(bool inverted) {
  inverted_ = inverted;
  RefreshParent();
}

void CChartAxis::SetAutomaticMode(int mode) {
  autoMode_ = mode;
  RefreshParent();
}

void CChartAxis::SetVisible(bool visible) {
  visible_ = visible;
  RefreshParent();
}

void CChartAxis::SetAutomaticMargin(bool on, int margin) {
  autoMargin_ = on;
  if (!on) margin_ = margin;
  RefreshParent();
}

void CChartAxis::SetFont(int tenthsOfPoint, const std::string& face) {
  fontSize_ = tenthsOfPoint;
  fontFace_ = face;
  RefreshParent();
}

void CChartAxis::SetTextColor(ChartColor color) {
  textColor_ = color;
  RefreshParent();
}

void CChartAxis::SetAxisColor(ChartColor color) {
  axisColor_ = color;
  RefreshParent();
}

void CChartAxis::RegisterSeries(CChartSerie* series) {
  if (std::find(series_.begin(), series_.end(), series) == series_.end()) series_.push_back(series);
}

void CChartAxis::UnregisterSeries(CChartSerie* series) {
  series_.erase(std::remove(series_.begin(), series_.end(), series), series_.end());
}

bool CChartAxis::GetSeriesMinMax(double& min, double& max) const {
  bool found = false;
  min = max = 0;
  for (const CChartSerie* s : series_) {
    double smin = 0;
    double smax = 0;
    const bool has = horizontal_ ? s->GetSerieXMinMax(smin, smax) : s->GetSerieYMinMax(smin, smax);
    if (!has) continue;
    if (!found) {
      min = smin;
      max = smax;
      found = true;
    } else {
      min = std::min(min, smin);
      max = std::max(max, smax);
    }
  }
  return found;
}

bool CChartAxis::GetSeriesScreenMinMax(double& min, double& max) const {
  bool found = false;
  min = max = 0;
  for (const CChartSerie* s : series_) {
    double smin = 0;
    double smax = 0;
    const bool has =
        horizontal_ ? s->GetSerieXScreenMinMax(smin, smax) : s->GetSerieYScreenMinMax(smin, smax);
    if (!has) continue;
    if (!found) {
      min = smin;
      max = smax;
      found = true;
    } else {
      min = std::min(min, smin);
      max = std::max(max, smax);
    }
  }
  return found;
}

bool CChartAxis::RefreshAutoAxis() {
  RefreshScrollBar();
  if (autoMode_ == kNotAutomatic) return false;
  double min = 0;
  double max = 0;
  if (autoMode_ == kFullAutomatic) GetSeriesMinMax(min, max);
  else GetSeriesScreenMinMax(min, max);
  if (min != min_ || max != max_) SetMinMax(min, max);
  return false;
}

void CChartAxis::RefreshScreenAutoAxis() {
  RefreshScrollBar();
  if (autoMode_ == kScreenAutomatic) RefreshAutoAxis();
}

void CChartAxis::SetZoomMinMax(double min, double max) {
  if (!zoomEnabled_ || min_ == max_) return;
  if (!std::isfinite(min) || !std::isfinite(max)) return;
  min_ = min;
  max_ = (max - min >= zoomLimit_) ? max : min + zoomLimit_;
  RefreshScrollBar();
}

void CChartAxis::PanAxis(int fromPixel, int toPixel) {
  const double d = ScreenToValue(fromPixel) - ScreenToValue(toPixel);
  SetZoomMinMax(min_ + d, max_ + d);
}

void CChartAxis::GetScrollbarSteps(int& steps, int& position) const {
  double smin = 0;
  double smax = 0;
  GetSeriesMinMax(smin, smax);
  const double range = max_ - min_;
  const double span = smax - smin;
  if (range == 0 || span == 0) {
    steps = 1;
    position = 1;
    return;
  }
  const double step = range / 10;
  steps = ChartClampToInt(std::ceil(span / step), 1, 1e9);
  position = ChartClampToInt(steps * (min_ - smin) / span, -1e9, 1e9);
}

void CChartAxis::SetAxisToScrollStep(int previous, int current, bool reverse) {
  const double offset = (static_cast<double>(current) - previous) * (max_ - min_) / 10;
  if (reverse) SetZoomMinMax(min_ - offset, max_ - offset);
  else SetZoomMinMax(min_ + offset, max_ + offset);
  if (parent_) parent_->UpdateAxesScrollBars();
}

ChartFont CChartAxis::TickFont() const { return ChartFont::FromPointSize(fontSize_, fontFace_); }

void CChartAxis::ForEachTick(const std::function<void(double)>& fn) const {
  if (max_ == min_) {
    fn(min_);
    return;
  }
  double value = GetFirstTickValue();
  fn(value);
  double next = 0;
  for (int n = 1; n < kMaxTicks && GetNextTickValue(value, next) && next > value; ++n) {
    fn(next);
    value = next;
  }
}

ChartSize CChartAxis::GetLargestTick(ChartDc& dc) {
  const ChartFont old = dc.SelectFont(TickFont());
  ChartSize largest{0, 0};
  if (max_ == min_) {
    largest = dc.GetTextExtent(GetTickLabel(min_));
  } else {
    ForEachTick([&](double v) {
      if (!IsValueOnScreen(v)) return;
      const ChartSize ext = dc.GetTextExtent(GetTickLabel(v));
      largest.cx = std::max(largest.cx, ext.cx);
      largest.cy = std::max(largest.cy, ext.cy);
    });
  }
  dc.SelectFont(old);
  return largest;
}

void CChartAxis::RefreshTicks() {
  if (autoTicks_) RefreshTickIncrement();
  RefreshFirstTick();
}

void CChartAxis::SetAxisRect(const ChartRect& chart, const ChartRect& plotting) {
  if (horizontal_) {
    start_ = plotting.left;
    end_ = plotting.right;
    rect_ = secondary_ ? ChartRect{chart.left, chart.top, chart.right, plotting.top}
                       : ChartRect{chart.left, plotting.bottom, chart.right, chart.bottom};
  } else {
    start_ = plotting.bottom;
    end_ = plotting.top;
    rect_ = secondary_ ? ChartRect{plotting.right, chart.top, chart.right, chart.bottom}
                       : ChartRect{chart.left, chart.top, plotting.left, chart.bottom};
  }
}

void CChartAxis::CalculateMargin(ChartDc& dc, const ChartRect& chart, ChartRect& plotting) {
  if (!visible_) return;
  const ChartSize largest = GetLargestTick(dc);
  if (autoMargin_) {
    const ChartSize label = label_.GetSize(&dc);
    margin_ = horizontal_ ? 6 + largest.cy + label.cy : 10 + largest.cx + label.cx;
  }
  if (horizontal_) {
    if (secondary_) plotting.top = std::max(plotting.top, chart.top + margin_);
    else plotting.bottom = std::min(plotting.bottom, chart.bottom - margin_);
    plotting.right = std::min(plotting.right, chart.right - (largest.cx / 2 + 3));
  } else {
    if (secondary_) plotting.right = std::min(plotting.right, chart.right - margin_);
    else plotting.left = std::max(plotting.left, chart.left + margin_);
    plotting.top = std::max(plotting.top, chart.top + largest.cy / 2 + 3);
  }
}

void CChartAxis::Draw(ChartDc& dc) {
  if (!visible_) return;
  dc.SaveDC();
  dc.SelectPen(ChartPen::Solid(0, axisColor_));
  dc.SelectFont(TickFont());
  dc.SetTextColor(textColor_);
  dc.SetBkMode(platform::qt::BkMode::Transparent);
  if (horizontal_) {
    const int y = secondary_ ? rect_.bottom - 1 : rect_.top + 1;
    dc.MoveTo(start_, y);
    dc.LineTo(end_, y);
  } else {
    const int x = secondary_ ? rect_.left + 1 : rect_.right - 1;
    dc.MoveTo(x, start_);
    dc.LineTo(x, end_);
  }
  DrawLabel(dc);
  grid_.ClearTicks();
  const ChartSize labelSize = label_.GetSize(&dc);
  ForEachTick([&](double v) { DrawTick(dc, v, labelSize); });
  grid_.Draw(dc);
  dc.RestoreDC();
}

void CChartAxis::DrawTick(ChartDc& dc, double value, ChartSize labelSize) {
  const int p = ValueToScreenTick(value);
  const int q = ValueToScreen(value);
  const int lo = std::min(start_, end_);
  const int hi = std::max(start_, end_);
  const bool markShown = p >= lo && p <= hi;
  const bool labelShown = q >= lo && q <= hi;
  const std::u16string text = labelShown ? GetTickLabel(value) : std::u16string();
  const ChartSize ext = labelShown ? dc.GetTextExtent(text) : ChartSize{};
  if (horizontal_) {
    if (!secondary_) {
      if (markShown) {
        dc.MoveTo(p, rect_.top + 1);
        dc.LineTo(p, rect_.top + 4);
      }
      if (labelShown) dc.ExtTextOut(q - ext.cx / 2, rect_.top + 5, text);
    } else {
      if (markShown) {
        dc.MoveTo(p, rect_.bottom - 1);
        dc.LineTo(p, rect_.bottom - 4);
      }
      if (labelShown) dc.ExtTextOut(q - ext.cx / 2, rect_.bottom - 5 - ext.cy, text);
    }
  } else {
    if (!secondary_) {
      if (markShown) {
        dc.MoveTo(rect_.right - 1, p);
        dc.LineTo(rect_.right - 4, p);
      }
      if (labelShown) dc.ExtTextOut(rect_.left + labelSize.cx + 4, q - ext.cy / 2, text);
    } else {
      if (markShown) {
        dc.MoveTo(rect_.left + 1, p);
        dc.LineTo(rect_.left + 4, p);
      }
      if (labelShown) dc.ExtTextOut(rect_.left + 6, q - ext.cy / 2, text);
    }
  }
  grid_.AddTick(p);
}

void CChartAxis::DrawLabel(ChartDc& dc) {
  const ChartSize size = label_.GetSize(&dc);
  if (size.cx == 0 && size.cy == 0) return;
  const int mid = std::abs(start_ + end_) / 2;
  int x = 0;
  int y = 0;
  if (horizontal_) {
    x = mid - size.cx / 2;
    y = secondary_ ? rect_.top : rect_.top + GetLargestTick(dc).cy + 2;
  } else {
    x = secondary_ ? rect_.right - size.cx - 2 : rect_.left;
    y = mid + size.cy / 2;
  }
  label_.SetPosition(x, y, &dc);
  label_.Draw(&dc);
}
