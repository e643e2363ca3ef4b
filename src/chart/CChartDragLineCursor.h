#pragma once
// One line the user drags: vertical (a value of the horizontal axis) or horizontal (a value of
// the vertical axis). A button press within 3 pixels of the line takes it.

#include "chart/CChartCursor.h"

class CChartDragLineCursor : public CChartCursor {
 public:
  // vertical: the line stands on the horizontal axis and moves left and right.
  CChartDragLineCursor(CChartCtrl* parent, CChartAxis* horizontal, CChartAxis* vertical, bool verticalLine);

  void OnMouseMove(ChartPoint point) override;
  void OnMouseButtonDown(ChartPoint point) override;
  void OnMouseButtonUp(ChartPoint point) override;
  void Draw(ChartDc& dc) override;
  bool IsDragging() const override { return dragging_; }

  void SetPosition(double value);
  double GetPosition() const { return value_; }

 private:
  CChartAxis* Axis() const { return vertical_line_ ? horizontal_ : vertical_; }
  int LinePixel() const;

  bool vertical_line_;
  double value_ = 0;
  bool dragging_ = false;
};
