#pragma once
// Told about mouse events on a series: the event code, the point, the series and the index of
// the point hit (-1 when the line was hit between points).

#include "chart/ChartTypes.h"

template <class T>
class CChartSerieBase;

template <class T>
class CChartSeriesMouseListener {
 public:
  virtual ~CChartSeriesMouseListener() = default;
  virtual void OnMouseEventSeries(int event, ChartPoint point, CChartSerieBase<T>* series,
                                  int pointIndex) = 0;
};
