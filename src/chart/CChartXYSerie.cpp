#include "chart/CChartXYSerie.h"

#include <vector>

void CChartXYSerie::SetPoints(const double* x, const double* y, unsigned count) {
  std::vector<SChartXYPoint> points;
  points.reserve(count);
  for (unsigned i = 0; i < count; ++i) points.emplace_back(x[i], y[i]);
  SetPoints(points.data(), count);
}
