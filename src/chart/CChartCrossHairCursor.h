#pragma once
// A horizontal and a vertical line through the mouse position, across the plotting area.

#include "chart/CChartCursor.h"

class CChartCrossHairCursor : public CChartCursor {
 public:
  using CChartCursor::CChartCursor;

  void OnMouseMove(ChartPoint point) override;
  void Draw(ChartDc& dc) override;
  ChartPoint GetPosition() const { return position_; }

 private:
  ChartPoint position_;
  bool placed_ = false;
};
