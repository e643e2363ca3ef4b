#pragma once
// One point of an X/Y series. The tag is free for point kinds that need one.

#include <cstdint>

struct SChartXYPoint {
  double X = 0;
  double Y = 0;
  std::uint32_t tag = 0;

  SChartXYPoint() = default;
  SChartXYPoint(double x, double y) : X(x), Y(y) {}

  double GetX() const { return X; }
  double GetY() const { return Y; }
};
