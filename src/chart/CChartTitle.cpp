#include "chart/CChartTitle.h"

#include <algorithm>
#include <cstdlib>

#include "chart/CChartCtrl.h"

void CChartTitle::AddString(const std::u16string& line) {
  lines_.push_back(line);
  if (parent_) parent_->RefreshCtrl();
}

void CChartTitle::RemoveAll() {
  lines_.clear();
  fonts_.clear();
  if (parent_) parent_->RefreshCtrl();
}

void CChartTitle::SetVisible(bool visible) {
  visible_ = visible;
  if (parent_) parent_->RefreshCtrl();
}

void CChartTitle::SetColor(ChartColor color) {
  textColor_ = color;
  if (parent_) parent_->RefreshCtrl();
}

void CChartTitle::SetLineFont(size_t line, const ChartFontInfo& font) {
  fonts_[line] = font;
  if (parent_) parent_->RefreshCtrl();
}

ChartFontInfo& CChartTitle::FontOf(size_t line) {
  auto it = fonts_.find(line);
  return it != fonts_.end() ? it->second : defaultFont_;
}

ChartSize CChartTitle::GetSize(ChartDc& dc) {
  ChartSize size{0, 0};
  if (visible_ && !lines_.empty()) {
    size.cy = 4;
    for (size_t i = 0; i < lines_.size(); ++i) {
      ChartFontInfo& font = FontOf(i);
      font.SelectFont(dc);
      const ChartSize ext = dc.GetTextExtent(lines_[i]);
      font.UnselectFont(dc);
      size.cy += ext.cy + 2;
      size.cx = std::max(size.cx, ext.cx + 2);
    }
  }
  rect_.bottom = rect_.top + size.cy;
  return size;
}

void CChartTitle::Draw(ChartDc& dc) {
  if (!visible_ || lines_.empty()) return;
  dc.SaveDC();
  dc.SetTextColor(textColor_);
  dc.SetBkMode(platform::qt::BkMode::Transparent);
  int y = rect_.top + 4;
  for (size_t i = 0; i < lines_.size(); ++i) {
    ChartFontInfo& font = FontOf(i);
    font.SelectFont(dc);
    const ChartSize ext = dc.GetTextExtent(lines_[i]);
    dc.ExtTextOut(rect_.left + std::abs(rect_.Width()) / 2 - ext.cx / 2, y, lines_[i]);
    font.UnselectFont(dc);
    y += ext.cy + 2;
  }
  dc.RestoreDC();
}
