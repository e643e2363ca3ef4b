#include "reports/VkcPaperItemText.h"

#include <cmath>

using platform::qt::Font;
using platform::qt::Size;

Font VkcPaperItemText::MakeFont(double widthDivisor) const {
  Font font;
  font.face = kStockFontFace;
  font.pixelSize = kStockFontHeight;
  if (fontHeight_ != 0) {
    font.pixelSize = fontHeight_;
    font.averageWidth = static_cast<int>(fontHeight_ / widthDivisor);
  }
  if (weight_ != 400) font.weight = weight_;
  return font;
}

Size VkcPaperItemText::GetSize(platform::qt::Dc& dc) {
  const Font old = dc.SelectFont(MakeFont(1.5));
  Size size = dc.GetTextExtent(text_);
  dc.SelectFont(old);
  size.cx += 80;
  size.cy += 20;
  return size;
}

void VkcPaperItemText::Draw(platform::qt::Dc& dc) {
  const Font old = dc.SelectFont(MakeFont(2.5));
  const platform::qt::BkMode oldMode = dc.SetBkMode(platform::qt::BkMode::Transparent);
  platform::qt::Rect rect = GetRect();
  rect.left += 20;
  rect.right -= 20;
  unsigned format = platform::qt::kDtSingleLine | platform::qt::kDtVCenter;
  if (align_ == kRight) format |= platform::qt::kDtRight;
  else if (align_ == kCenter) format |= platform::qt::kDtCenter;
  dc.DrawText(rect, text_, format);
  dc.SetBkMode(oldMode);
  dc.SelectFont(old);
}

std::unique_ptr<VkcPaperItem> VkcPaperItemText::Clone() const {
  auto copy = std::make_unique<VkcPaperItemText>(text_, GetBackground());
  copy->SetFormat(align_, fontHeight_, weight_);
  return copy;
}
