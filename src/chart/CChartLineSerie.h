#pragma once
// A series drawn as a polyline through its points (or a smooth Bezier curve).

#include <vector>

#include "chart/CChartXYSerie.h"

class CChartLineSerie : public CChartXYSerie {
 public:
  explicit CChartLineSerie(CChartCtrl* parent) : CChartXYSerie(parent) {}

  void SetWidth(int pixels);
  int GetWidth() const { return width_; }
  void SetPenStyle(int style);
  int GetPenStyle() const { return penStyle_; }
  void SetSmooth(bool on);

  bool IsPointOnSerie(ChartPoint point, int& index) const override;
  void DrawLegend(ChartDc& dc, const ChartRect& rect) const override;
  void Draw(ChartDc& dc) override;
  void DrawAll(ChartDc& dc) override;

 private:
  // Solid style: a plain pen; any other style: a geometric pen (it dashes at any width).
  ChartPen MakePen(ChartColor color) const;
  void DrawSmooth(ChartDc& dc, const ChartPen& pen, const ChartPen& shadowPen);

  int width_ = 1;
  int penStyle_ = 0;
  bool smooth_ = false;
  std::vector<ChartPoint> scratch_;
};
