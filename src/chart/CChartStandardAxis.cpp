#include "chart/CChartStandardAxis.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdlib>
#include <string>

double CChartStandardAxis::GetFirstTickValue() const {
  return discrete_ ? firstTick_ - step_ : firstTick_;
}

bool CChartStandardAxis::GetNextTickValue(double current, double& next) const {
  if (step_ == 0) return false;
  next = current + step_;
  // Accumulated steps may overshoot the maximum by a rounding error; that tick still belongs.
  return next <= max_ + std::fabs(step_) * 1e-9;
}

int CChartStandardAxis::ValueToScreenTick(double value) const { return ValueToScreenStandard(value); }

int CChartStandardAxis::ValueToScreenDiscrete(double value) const {
  if (step_ == 0) return ValueToScreenStandard(value);
  const double eps = value >= 0 ? 1e-10 : -1e-10;
  const double k = std::trunc((value + eps) / step_);
  return ValueToScreenStandard(k * step_ + step_ / 2);
}

std::u16string CChartStandardAxis::GetTickLabel(double value) const {
  // A tick that should be zero may carry a rounding residue or a negative sign.
  if (value == 0 || std::fabs(value) < std::fabs(step_) * 1e-9) value = 0.0;
  // Fixed-point in the "C" locale whatever the user's locale is.
  char buf[1100];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, std::clamp(decimals_, 0, 340));
  if (ec != std::errc()) return {};
  std::string text(buf, end);
  if (text.size() > 1 && text[0] == '-' &&
      text.find_first_not_of("0.", 1) == std::string::npos) {
    text.erase(0, 1);  // "-0", "-0.0"
  }
  return std::u16string(text.begin(), text.end());
}

void CChartStandardAxis::RefreshTickIncrement() {
  if (max_ == min_) {
    step_ = 0;
    return;
  }
  const int perTick = horizontal_ ? 30 : 20;
  // An axis shorter than one tick interval still gets one tick interval.
  const int count = std::max(1, std::abs((end_ - start_) / perTick));
  const double increment = std::fabs(max_ - min_) / count;
  if (!std::isfinite(increment) || increment <= 0) {
    step_ = 0;
    return;
  }
  const double exponent = std::floor(std::log10(increment));
  const double base = std::pow(10.0, exponent);
  int decimals = exponent < 0 ? static_cast<int>(-exponent) : 0;
  double step = 10 * base;
  for (int m : {1, 2, 5, 10}) {
    if (m * base >= increment) {
      step = m * base;
      break;
    }
  }
  if (step == 10 * base) decimals = std::max(0, decimals - 1);
  if (!std::isfinite(step) || step <= 0) {
    step_ = 0;
    return;
  }
  step_ = step;
  decimals_ = decimals;
}

void CChartStandardAxis::RefreshFirstTick() {
  if (step_ == 0) {
    firstTick_ = min_;
  } else if (min_ == 0) {
    firstTick_ = 0;
  } else {
    // The smallest multiple of the step at or above min, not lost to a rounding error in min / step.
    firstTick_ = std::ceil(min_ / step_ - 1e-9) * step_;
    if (firstTick_ == 0) firstTick_ = 0.0;
  }
}
