#pragma once
// A series drawn as the area between its points and an axis: the polygon of the visible points,
// closed by their projections on the horizontal axis (or the vertical one), filled solid or
// hatched in the series colour.

#include "chart/CChartXYSerie.h"

class CChartSurfaceSerie : public CChartXYSerie {
 public:
  enum FillStyle { kSolid = 0, kHatchDownward = 1, kHatchUpward = 2, kHatchCross = 3 };

  explicit CChartSurfaceSerie(CChartCtrl* parent) : CChartXYSerie(parent) {}

  void SetFillStyle(int style);
  // Filled towards the horizontal axis (the default) or towards the vertical one.
  void SetHorizontal(bool horizontal);
  bool GetHorizontal() const { return horizontal_; }

  bool IsPointOnSerie(ChartPoint point, int& index) const override;
  void DrawLegend(ChartDc& dc, const ChartRect& rect) const override;
  void Draw(ChartDc& dc) override { DrawAll(dc); }
  void DrawAll(ChartDc& dc) override;

 private:
  platform::qt::Brush MakeBrush() const;

  int fillStyle_ = kSolid;
  bool horizontal_ = true;
};
