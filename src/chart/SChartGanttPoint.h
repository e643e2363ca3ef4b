#pragma once
// One Gantt bar: from a start to an end time at a height.

struct SChartGanttPoint {
  double StartTime = 0;
  double EndTime = 0;
  double YValue = 0;

  SChartGanttPoint() = default;
  SChartGanttPoint(double start, double end, double y) : StartTime(start), EndTime(end), YValue(y) {}

  double GetX() const { return StartTime; }
  double GetY() const { return YValue; }
  double GetXMin() const { return StartTime; }
  double GetXMax() const { return EndTime; }
};
