#pragma once
// The legend box: one line per visible, named series with its line sample, docked at a side of
// the chart (trimming the chart rectangle) or floating.

#include <string>

#include "chart/ChartTypes.h"

class CChartLegend {
 public:
  enum DockSide { kDockRight = 0, kDockLeft = 1, kDockTop = 2, kDockBottom = 3 };

  explicit CChartLegend(CChartCtrl* parent) : parent_(parent) {}

  void SetVisible(bool visible);
  bool IsVisible() const { return visible_; }
  void DockLegend(int side);
  void UndockLegend(int left, int top);
  void SetTransparent(bool on);
  void SetHorizontalMode(bool on);
  void SetShadow(bool on);
  void SetBackColor(ChartColor color);
  void SetShadowColor(ChartColor color);

  // Computes the legend rectangle inside chart and, when docked, trims chart at its edge.
  void UpdatePosition(ChartDc& dc, ChartRect& chart);
  void ComputeSize(ChartDc& dc, const ChartRect& chart);
  void Draw(ChartDc& dc);
  bool IsPointInside(ChartPoint p) const { return rect_.PtInRect(p); }
  const ChartRect& GetRect() const { return rect_; }

 private:
  ChartFont LegendFont() const;

  CChartCtrl* parent_;
  ChartRect rect_;
  std::string face_ = "Times New Roman";
  int size_ = 100;
  bool docked_ = true;
  int side_ = kDockRight;
  int floatLeft_ = 0;
  int floatTop_ = 0;
  bool visible_ = false;
  bool transparent_ = false;
  bool horizontal_ = false;
  bool shadow_ = true;
  int shadowDepth_ = 3;
  ChartColor backColor_ = 0xFFFFFF;
  ChartColor shadowColor_ = 0x969696;
  ChartSize symbol_{16, 16};
};
