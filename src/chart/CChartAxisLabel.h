#pragma once
// The caption of an axis, written along it (rotated for a vertical axis).

#include <string>

#include "chart/ChartFontInfo.h"
#include "chart/ChartTypes.h"

class CChartAxisLabel {
 public:
  CChartAxisLabel() = default;

  void SetParent(CChartCtrl* parent) { parent_ = parent; }
  void SetHorizontal(bool horizontal);
  void SetVisible(bool visible);
  void SetText(const std::u16string& text);
  void SetColor(ChartColor color);
  ChartFontInfo& Font() { return font_; }

  // Text extent plus 4 each way, swapped when vertical; (0, 0) when hidden, without a DC or text.
  ChartSize GetSize(ChartDc* dc);
  void SetPosition(int x, int y, ChartDc* dc);
  const ChartRect& GetRect() const { return rect_; }
  void Draw(ChartDc* dc);

 private:
  void Refresh();

  CChartCtrl* parent_ = nullptr;
  bool visible_ = true;
  ChartRect rect_;
  ChartColor textColor_ = 0;
  bool horizontal_ = true;
  ChartFontInfo font_;
  std::u16string text_;
};
