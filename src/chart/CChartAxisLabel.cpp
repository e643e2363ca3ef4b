#include "chart/CChartAxisLabel.h"

#include <utility>

#include "chart/CChartCtrl.h"

void CChartAxisLabel::Refresh() {
  if (parent_) parent_->RefreshCtrl();
}

void CChartAxisLabel::SetHorizontal(bool horizontal) {
  horizontal_ = horizontal;
  font_.SetVertical(!horizontal);
}

void CChartAxisLabel::SetVisible(bool visible) {
  visible_ = visible;
  Refresh();
}

void CChartAxisLabel::SetText(const std::u16string& text) {
  text_ = text;
  Refresh();
}

void CChartAxisLabel::SetColor(ChartColor color) {
  textColor_ = color;
  Refresh();
}

ChartSize CChartAxisLabel::GetSize(ChartDc* dc) {
  if (!visible_ || !dc || text_.empty()) return {0, 0};
  font_.SelectFont(*dc);
  const ChartSize ext = dc->GetTextExtent(text_);
  font_.UnselectFont(*dc);
  ChartSize size{ext.cx + 4, ext.cy + 4};
  if (!horizontal_) std::swap(size.cx, size.cy);
  return size;
}

void CChartAxisLabel::SetPosition(int x, int y, ChartDc* dc) {
  const ChartSize size = GetSize(dc);
  rect_ = {x, y, x + size.cx, y + size.cy};
}

void CChartAxisLabel::Draw(ChartDc* dc) {
  if (!visible_ || !dc || text_.empty()) return;
  dc->SaveDC();
  dc->SetBkMode(platform::qt::BkMode::Transparent);
  dc->SetTextColor(textColor_);
  font_.SelectFont(*dc);
  if (horizontal_) {
    dc->ExtTextOut(rect_.left, rect_.top + 2, text_, &rect_);
  } else {
    // Rotated text runs upwards from its origin: clip to the area it covers there.
    const ChartRect covered = rect_.Offset(0, -rect_.Height());
    dc->ExtTextOut(rect_.left + 2, rect_.top, text_, &covered);
  }
  font_.UnselectFont(*dc);
  dc->RestoreDC();
}
