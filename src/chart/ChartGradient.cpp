#include "chart/ChartGradient.h"

void ChartGradient::Fill(ChartDc& dc, const ChartRect& rect, ChartColor color1, ChartColor color2,
                         int type) {
  switch (type) {
    case 0:
      dc.GradientFillRect(rect, color1, color2, false);
      break;
    case 1:
      dc.GradientFillRect(rect, color1, color2, true);
      break;
    case 2: {
      const int half = rect.Width() / 2;
      dc.GradientFillRect({rect.left, rect.top, rect.left + half, rect.bottom}, color1, color2, false);
      dc.GradientFillRect({rect.left + half, rect.top, rect.right, rect.bottom}, color2, color1, false);
      break;
    }
    default: {
      const int half = rect.Height() / 2;
      dc.GradientFillRect({rect.left, rect.top, rect.right, rect.top + half}, color1, color2, true);
      dc.GradientFillRect({rect.left, rect.top + half, rect.right, rect.bottom}, color2, color1, true);
      break;
    }
  }
}
