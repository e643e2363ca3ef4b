#pragma once
// The dashed grid lines of one axis: one line across the plotting area per tick position.

#include <vector>

#include "chart/ChartTypes.h"

class CChartGrid {
 public:
  explicit CChartGrid(CChartCtrl* parent = nullptr) : parent_(parent) {}

  void SetParent(CChartCtrl* parent) { parent_ = parent; }
  void SetHorizontal(bool horizontal) { horizontal_ = horizontal; }
  void SetVisible(bool visible);
  bool IsVisible() const { return visible_; }
  void SetColor(ChartColor color);

  void ClearTicks() { ticks_.clear(); }
  void AddTick(int pixel) { ticks_.push_back(pixel); }
  const std::vector<int>& GetTicks() const { return ticks_; }

  // Dashes of 3 pixels with gaps of 3, from the plotting bottom upwards (ticks of a horizontal
  // axis) or from the plotting left rightwards (a vertical axis), clipped to the plotting area.
  void Draw(ChartDc& dc) const;

 private:
  ChartColor color_ = 0x808080;
  CChartCtrl* parent_;
  bool visible_ = true;
  std::vector<int> ticks_;
  bool horizontal_ = true;
};
