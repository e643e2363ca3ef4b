#include "chart/CChartLogarithmicAxis.h"

#include <charconv>
#include <cmath>

#include "chart/CChartCtrl.h"
#include "chart/ChartMath.h"

namespace {
// Decades shown below the top when the bottom of the range is not positive.
constexpr double kDecadesBelowTop = 6;
}

double CChartLogarithmicAxis::LogMax() const { return max_ > 0 ? std::log10(max_) : 0; }

double CChartLogarithmicAxis::LogMin() const {
  if (min_ > 0) return std::log10(min_);
  return LogMax() - kDecadesBelowTop;
}

int CChartLogarithmicAxis::ValueToScreenStandard(double value) const {
  const double lo = LogMin();
  const double hi = LogMax();
  if (!(value > 0)) return ValueToScreenStandard(std::pow(10.0, lo));  // held at the bottom
  if (hi <= lo) return Middle();
  const int offset = ChartPixelOffset(std::floor(GetAxisLength() * (std::log10(value) - lo) / (hi - lo)));
  if (horizontal_) return inverted_ ? end_ - offset : start_ + offset;
  return inverted_ ? end_ + offset : start_ - offset;
}

double CChartLogarithmicAxis::ScreenToValue(int pixel) const {
  const int length = GetAxisLength();
  const double lo = LogMin();
  const double hi = LogMax();
  if (hi <= lo || length == 0) return std::pow(10.0, lo);
  double offset;
  if (horizontal_) offset = inverted_ ? end_ - pixel : pixel - start_;
  else offset = inverted_ ? pixel - end_ : start_ - pixel;
  return std::pow(10.0, offset / length * (hi - lo) + lo);
}

int CChartLogarithmicAxis::ValueToScreenDiscrete(double value) const {
  if (!(value > 0)) return ValueToScreenStandard(value);
  // The middle of the value's decade.
  return ValueToScreenStandard(std::pow(10.0, std::floor(std::log10(value)) + 0.5));
}

void CChartLogarithmicAxis::RefreshFirstTick() {
  firstTick_ = std::pow(10.0, std::trunc(LogMin()));
}

double CChartLogarithmicAxis::GetFirstTickValue() const { return discrete_ ? firstTick_ / 10 : firstTick_; }

bool CChartLogarithmicAxis::GetNextTickValue(double current, double& next) const {
  next = current * 10;
  // A decade reached by repeated multiplication may miss the top by a rounding error.
  return std::isfinite(next) && next > current && next <= max_ * (1 + 1e-9);
}

std::u16string CChartLogarithmicAxis::GetTickLabel(double value) const {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  return std::u16string(buf, res.ptr);
}

void CChartLogarithmicAxis::Scale(double factor) {
  if (!std::isfinite(factor) || factor <= 0) return;
  SetZoomMinMax(min_ * factor, max_ * factor);
}

void CChartLogarithmicAxis::PanAxis(int fromPixel, int toPixel) {
  const double to = ScreenToValue(toPixel);
  if (to > 0) Scale(ScreenToValue(fromPixel) / to);
}

void CChartLogarithmicAxis::GetScrollbarSteps(int& steps, int& position) const {
  double smin = 0;
  double smax = 0;
  if (!GetSeriesMinMax(smin, smax) || smin <= 0 || smax <= smin || min_ <= 0 || max_ <= min_) {
    steps = 1;
    position = 1;
    return;
  }
  const double step = (std::log10(max_) - std::log10(min_)) / 10;
  const double span = std::log10(smax) - std::log10(smin);
  steps = ChartClampToInt(std::ceil(span / step), 1, 1e9);
  position = ChartClampToInt(steps * (std::log10(min_) - std::log10(smin)) / span, -1e9, 1e9);
}

void CChartLogarithmicAxis::SetAxisToScrollStep(int previous, int current, bool reverse) {
  if (min_ <= 0 || max_ <= min_) return;
  // A tenth of the range ratio per step.
  const double factor = std::pow(max_ / min_, (static_cast<double>(current) - previous) / 10);
  Scale(reverse ? 1 / factor : factor);
  if (parent_) parent_->UpdateAxesScrollBars();
}
