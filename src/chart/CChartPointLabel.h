#pragma once
// A label attached to one point of a series; draws itself beside the point.

#include "chart/ChartTypes.h"

template <class T>
class CChartPointLabel {
 public:
  virtual ~CChartPointLabel() = default;
  virtual void Draw(ChartDc& dc, unsigned pointIndex) = 0;
};
