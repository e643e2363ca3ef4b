#include "chart/ChartFontInfo.h"

void ChartFontInfo::SetFace(const std::string& face) {
  face_ = face.substr(0, 31);
  dirty_ = true;
}
void ChartFontInfo::SetSize(int tenthsOfPoint) {
  size_ = tenthsOfPoint;
  dirty_ = true;
}
void ChartFontInfo::SetItalic(bool on) {
  italic_ = on;
  dirty_ = true;
}
void ChartFontInfo::SetBold(bool on) {
  bold_ = on;
  dirty_ = true;
}
void ChartFontInfo::SetUnderline(bool on) {
  underline_ = on;
  dirty_ = true;
}
void ChartFontInfo::SetVertical(bool on) {
  vertical_ = on;
  dirty_ = true;
}

ChartFont ChartFontInfo::ToFont() const {
  ChartFont f = ChartFont::FromPointSize(size_, face_);
  f.weight = bold_ ? 700 : 400;
  f.italic = italic_;
  f.underline = underline_;
  f.escapement = vertical_ ? 900 : 0;
  return f;
}

void ChartFontInfo::SelectFont(ChartDc& dc) {
  if (dirty_) {
    font_ = ToFont();
    dirty_ = false;
  }
  previous_ = dc.SelectFont(font_);
}

void ChartFontInfo::UnselectFont(ChartDc& dc) { dc.SelectFont(previous_); }
