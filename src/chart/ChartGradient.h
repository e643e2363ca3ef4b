#pragma once
// Gradient fills of a rectangle by type: 0 left to right, 1 top to bottom, 2 two horizontal
// halves (colour 1 to 2, then back), 3 and above two vertical halves.

#include "chart/ChartTypes.h"

class ChartGradient {
 public:
  static void Fill(ChartDc& dc, const ChartRect& rect, ChartColor color1, ChartColor color2, int type);
};
