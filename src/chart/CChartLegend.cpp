#include "chart/CChartLegend.h"

#include <algorithm>

#include "chart/CChartCtrl.h"
#include "chart/CChartSerie.h"

namespace {
bool IsListed(const CChartSerie* s) { return s->IsVisible() && !s->GetName().empty(); }
}  // namespace

void CChartLegend::SetVisible(bool visible) {
  visible_ = visible;
  parent_->RefreshCtrl();
}

void CChartLegend::DockLegend(int side) {
  docked_ = true;
  side_ = side;
  parent_->RefreshCtrl();
}

void CChartLegend::UndockLegend(int left, int top) {
  docked_ = false;
  floatLeft_ = left;
  floatTop_ = top;
  parent_->RefreshCtrl();
}

void CChartLegend::SetTransparent(bool on) {
  transparent_ = on;
  parent_->RefreshCtrl();
}

void CChartLegend::SetHorizontalMode(bool on) {
  horizontal_ = on;
  parent_->RefreshCtrl();
}

void CChartLegend::SetShadow(bool on) {
  shadow_ = on;
  parent_->RefreshCtrl();
}

void CChartLegend::SetBackColor(ChartColor color) {
  backColor_ = color;
  parent_->RefreshCtrl();
}

void CChartLegend::SetShadowColor(ChartColor color) {
  shadowColor_ = color;
  parent_->RefreshCtrl();
}

ChartFont CChartLegend::LegendFont() const { return ChartFont::FromPointSize(size_, face_); }

void CChartLegend::ComputeSize(ChartDc& dc, const ChartRect& chart) {
  rect_ = {};
  if (!visible_) return;
  const ChartFont old = dc.SelectFont(LegendFont());
  int w = 0;
  int h = 0;
  int count = 0;
  for (CChartSerie* s = parent_->GoToFirstSerie(); s; s = parent_->GetNextSerie()) {
    if (!IsListed(s)) continue;
    const ChartSize ext = dc.GetTextExtent(s->GetName());
    ++count;
    if (horizontal_) {
      w += ext.cx + symbol_.cx + 4 + 10;
      h = std::max(h, ext.cy);
    } else {
      h += std::max(ext.cy, symbol_.cy) + 2;
      w = std::max(w, ext.cx);
    }
  }
  dc.SelectFont(old);
  if (count == 0) return;
  if (horizontal_) {
    w -= 6;
    h = std::max(h, symbol_.cy) + 8;
  } else {
    w += symbol_.cx + 12;
    h += 6;
  }
  int left = 0;
  int top = 0;
  if (!docked_) {
    left = floatLeft_;
    top = floatTop_;
  } else {
    // Half the chart's height or width is measured from the client origin, not from its edge.
    switch (side_) {
      case kDockLeft:
        left = chart.left + 3;
        top = chart.Height() / 2 - (h + 2) / 2;
        break;
      case kDockTop:
        top = chart.top + 3;
        left = chart.Width() / 2 - w / 2;
        break;
      case kDockBottom:
        top = chart.bottom - (h + 2);
        left = chart.Width() / 2 - w / 2;
        break;
      default:
        left = chart.right - (w + 6);
        top = chart.Height() / 2 - (h + 2) / 2;
        break;
    }
  }
  rect_ = {left, top, left + w, top + h};
}

void CChartLegend::UpdatePosition(ChartDc& dc, ChartRect& chart) {
  ComputeSize(dc, chart);
  if (rect_.IsRectEmpty() || !docked_) return;
  switch (side_) {
    case kDockLeft: chart.left = rect_.right - 2; break;
    case kDockTop: chart.top = rect_.bottom + 2; break;
    case kDockBottom: chart.bottom = rect_.top - 2; break;
    default: chart.right = rect_.left + 2; break;
  }
}

void CChartLegend::Draw(ChartDc& dc) {
  if (!visible_ || rect_.IsRectEmpty()) return;
  dc.SaveDC();
  if (shadow_) dc.FillSolidRect(rect_.Offset(shadowDepth_, shadowDepth_), shadowColor_);
  if (!transparent_) dc.FillSolidRect(rect_, backColor_);
  dc.SelectPen(ChartPen::Solid(0, 0));
  dc.SelectBrush(platform::qt::Brush::Hollow());
  dc.Rectangle(rect_);
  dc.SetBkMode(platform::qt::BkMode::Transparent);
  dc.SelectFont(LegendFont());
  ChartRect sym{rect_.left + 2, rect_.top + 5, rect_.left + 2 + symbol_.cx, rect_.top + 5 + symbol_.cy + 1};
  for (CChartSerie* s = parent_->GoToFirstSerie(); s; s = parent_->GetNextSerie()) {
    if (!IsListed(s)) continue;
    const ChartSize ext = dc.GetTextExtent(s->GetName());
    if (ext.cy <= symbol_.cy) {
      const int centreY = (sym.top + sym.bottom) / 2;
      dc.ExtTextOut(sym.right + 4, centreY - ext.cy / 2, s->GetName(), &rect_);
      s->DrawLegend(dc, sym);
    } else {
      dc.ExtTextOut(sym.right + 4, sym.top, s->GetName(), &rect_);
      s->DrawLegend(dc, sym.Offset(0, ext.cy / 2 - symbol_.cy / 2));
    }
    if (horizontal_) {
      sym = sym.Offset(symbol_.cx + ext.cx + 14, 0);
    } else {
      sym = sym.Offset(0, std::max(ext.cy, symbol_.cy) + 2);
    }
  }
  dc.RestoreDC();
}
