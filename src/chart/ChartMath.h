#pragma once
// Conversions from floating values to pixels and counts that can never overflow an int: values
// far outside a deep zoom, infinities and NaN are clamped instead of being cast as they are.

#include <cmath>

// Pixel offsets are kept within +-2^28, far beyond any device yet safe to add to a coordinate.
constexpr double kChartPixelLimit = 268435456.0;

// Truncates toward zero into [lo, hi]; NaN gives lo.
inline int ChartClampToInt(double v, double lo, double hi) {
  if (!(v >= lo)) return static_cast<int>(lo);
  if (v > hi) return static_cast<int>(hi);
  return static_cast<int>(v);
}

// A pixel offset from a floating one: truncated, clamped, NaN placed off the low end.
inline int ChartPixelOffset(double v) { return ChartClampToInt(v, -kChartPixelLimit, kChartPixelLimit); }
