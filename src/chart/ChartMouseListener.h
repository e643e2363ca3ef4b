#pragma once
// Told about mouse events on the parts of a chart: the event code and the point.

#include "chart/ChartTypes.h"

// Mouse event codes given to listeners and series.
enum ChartMouseEvent : int {
  kChartMouseMove = 0,
  kChartLButtonUp = 1,
  kChartLButtonDown = 2,
  kChartLButtonDblClk = 3,
  kChartRButtonUp = 4,
  kChartRButtonDown = 5,
  kChartRButtonDblClk = 6,
};

class ChartMouseListener {
 public:
  virtual ~ChartMouseListener() = default;
  virtual void OnMouseEventTitle(int event, ChartPoint point) {}
  virtual void OnMouseEventAxis(int event, ChartPoint point, CChartAxis* axis) {}
  virtual void OnMouseEventLegend(int event, ChartPoint point) {}
  virtual void OnMouseEventPlotArea(int event, ChartPoint point) {}
};
