#pragma once
// A series drawn as bars from a base line to each point's value, vertical or horizontal. Bar
// series that share a group id on one chart stand side by side, or, stacked, on top of one
// another. Every bar series is kept in one process-wide list so a series finds its group.

#include <vector>

#include "chart/CChartXYSerie.h"

class CChartBarSerie : public CChartXYSerie {
 public:
  explicit CChartBarSerie(CChartCtrl* parent);
  ~CChartBarSerie() override;

  // Horizontal bars grow along the horizontal axis from the vertical one.
  void SetHorizontal(bool horizontal);
  bool GetHorizontal() const { return horizontal_; }
  void SetBarWidth(int pixels);
  int GetBarWidth() const { return barWidth_; }
  // Pixels between the bars of one group.
  void SetInterSpace(int pixels);
  void SetGroupId(unsigned group);
  unsigned GetGroupId() const { return groupId_; }
  void SetStacked(bool stacked);
  bool IsStacked() const { return stacked_; }
  // The base line: at the value axis's edge (the default) or at a value.
  void SetBaseLine(bool automatic, double value);
  void SetBorderColor(ChartColor color);
  void ShowGradient(bool on);
  void SetGradient(ChartColor color, int type);

  // Bar i on screen; empty when the series cannot place it.
  ChartRect GetBarRect(unsigned index) const;
  bool IsPointOnSerie(ChartPoint point, int& index) const override;
  void DrawLegend(ChartDc& dc, const ChartRect& rect) const override;
  void Draw(ChartDc& dc) override { DrawAll(dc); }
  void DrawAll(ChartDc& dc) override;

 private:
  // The visible series of this one's group on the same axes, in creation order.
  std::vector<const CChartBarSerie*> Group() const;
  CChartAxis* ValueAxis() const { return horizontal_ ? horizontalAxis_ : verticalAxis_; }
  CChartAxis* CategoryAxis() const { return horizontal_ ? verticalAxis_ : horizontalAxis_; }
  double ValueAt(unsigned index) const { return horizontal_ ? buffer_[index].X : buffer_[index].Y; }
  double CategoryAt(unsigned index) const { return horizontal_ ? buffer_[index].Y : buffer_[index].X; }
  int BasePixel() const;

  bool horizontal_ = false;
  int barWidth_ = 20;
  int interSpace_ = 1;
  unsigned groupId_ = 0;
  bool stacked_ = false;
  bool autoBase_ = true;
  double baseValue_ = 0;
  ChartColor border_ = 0;
  bool gradient_ = false;
  ChartColor gradientColor_ = 0xFFFFFF;
  int gradientType_ = 1;
};
