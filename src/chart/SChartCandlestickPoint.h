#pragma once
// One candle: its position and the low, high, opening and closing values.

struct SChartCandlestickPoint {
  double XVal = 0;
  double Low = 0;
  double High = 0;
  double Open = 0;
  double Close = 0;

  SChartCandlestickPoint() = default;
  SChartCandlestickPoint(double x, double low, double high, double open, double close)
      : XVal(x), Low(low), High(high), Open(open), Close(close) {}

  double GetX() const { return XVal; }
  double GetY() const { return Close; }
  double GetYMin() const { return Low; }
  double GetYMax() const { return High; }
};
