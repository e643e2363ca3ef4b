#pragma once
// A series drawn as a marker at each point: an ellipse, a rectangle or a triangle of a set size in
// pixels, filled in the series colour with a border of its own.

#include "chart/CChartXYSerie.h"

class CChartPointsSerie : public CChartXYSerie {
 public:
  enum PointType { kEllipse = 0, kRectangle = 1, kTriangle = 2 };

  explicit CChartPointsSerie(CChartCtrl* parent) : CChartXYSerie(parent) {}

  void SetPointSize(int width, int height);
  void SetPointType(int type);
  void SetBorderColor(ChartColor color);
  int GetPointType() const { return type_; }

  // The first visible point within 5 pixels in x and in y.
  bool IsPointOnSerie(ChartPoint point, int& index) const override;
  void DrawLegend(ChartDc& dc, const ChartRect& rect) const override;
  void Draw(ChartDc& dc) override { DrawAll(dc); }
  void DrawAll(ChartDc& dc) override;

 private:
  void DrawMarker(ChartDc& dc, ChartPoint centre) const;

  int width_ = 5;
  int height_ = 5;
  int type_ = kEllipse;
  ChartColor border_ = 0;
};
