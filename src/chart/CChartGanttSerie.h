#pragma once
// A series of Gantt bars: each from its start to its end time at its height, a set number of
// pixels thick, filled flat or with a gradient to a second colour.

#include "chart/CChartSerieBase.h"
#include "chart/SChartGanttPoint.h"

class CChartGanttSerie : public CChartSerieBase<SChartGanttPoint> {
 public:
  explicit CChartGanttSerie(CChartCtrl* parent);

  void AddPoint(double start, double end, double y);
  void SetBarWidth(int pixels);
  void SetBorderColor(ChartColor color);
  void ShowGradient(bool on);
  void SetGradient(ChartColor color, int type);

  bool IsPointOnSerie(ChartPoint point, int& index) const override;
  void DrawLegend(ChartDc& dc, const ChartRect& rect) const override;
  void Draw(ChartDc& dc) override { DrawAll(dc); }
  void DrawAll(ChartDc& dc) override;
  // Every bar that overlaps the horizontal range is visible, whichever point starts first.
  bool GetVisiblePoints(unsigned& first, unsigned& last) const override;

  ChartRect GetBarRect(unsigned index) const;

 private:
  int barWidth_ = 10;
  ChartColor border_ = 0;
  bool gradient_ = false;
  ChartColor gradientColor_ = 0xFFFFFF;
  int gradientType_ = 1;
};
