#pragma once
// A series of candles: a line from low to high and a box between the opening and closing values,
// filled when the value fell. Points are kept ordered by X.

#include "chart/CChartSerieBase.h"
#include "chart/SChartCandlestickPoint.h"

class CChartCandlestickSerie : public CChartSerieBase<SChartCandlestickPoint> {
 public:
  explicit CChartCandlestickSerie(CChartCtrl* parent);

  void SetWidth(int pixels);
  int GetWidth() const { return width_; }
  void AddPoint(double x, double low, double high, double open, double close);

  bool IsPointOnSerie(ChartPoint point, int& index) const override;
  void DrawLegend(ChartDc& dc, const ChartRect& rect) const override;
  void Draw(ChartDc& dc) override { DrawAll(dc); }
  void DrawAll(ChartDc& dc) override;

 private:
  void DrawCandle(ChartDc& dc, const SChartCandlestickPoint& p) const;

  int width_ = 7;
};
