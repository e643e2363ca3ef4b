#pragma once
// A series of X/Y points.

#include "chart/CChartSerieBase.h"
#include "chart/SChartXYPoint.h"

class CChartXYSerie : public CChartSerieBase<SChartXYPoint> {
 public:
  explicit CChartXYSerie(CChartCtrl* parent) : CChartSerieBase<SChartXYPoint>(parent) {}

  using CChartSerieBase<SChartXYPoint>::SetPoints;
  // Points from two arrays of count values each.
  void SetPoints(const double* x, const double* y, unsigned count);
};
