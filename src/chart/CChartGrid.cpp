#include "chart/CChartGrid.h"

#include "chart/CChartCtrl.h"

void CChartGrid::SetVisible(bool visible) {
  visible_ = visible;
  if (parent_) parent_->RefreshCtrl();
}

void CChartGrid::SetColor(ChartColor color) {
  color_ = color;
  if (parent_) parent_->RefreshCtrl();
}

void CChartGrid::Draw(ChartDc& dc) const {
  if (!visible_ || !parent_) return;
  const ChartRect plot = parent_->GetPlottingRect();
  dc.SaveDC();
  dc.SetClipRect(plot);
  dc.SelectPen(ChartPen::Solid(0, color_));
  for (int tick : ticks_) {
    if (horizontal_) {
      for (int y = plot.bottom; y > plot.top; y -= 6) {
        dc.MoveTo(tick, y);
        dc.LineTo(tick, y - 3);
      }
    } else {
      for (int x = plot.left; x < plot.right; x += 6) {
        dc.MoveTo(x, tick);
        dc.LineTo(x + 3, tick);
      }
    }
  }
  dc.RestoreDC();
}
