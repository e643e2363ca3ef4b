#pragma once
// The chart's title: centred lines of text in a strip at the top of the chart.

#include <map>
#include <string>
#include <vector>

#include "chart/ChartFontInfo.h"
#include "chart/ChartTypes.h"

class CChartTitle {
 public:
  explicit CChartTitle(CChartCtrl* parent) : parent_(parent) {}

  void AddString(const std::u16string& line);
  void RemoveAll();
  size_t GetStringCount() const { return lines_.size(); }
  void SetVisible(bool visible);
  void SetColor(ChartColor color);
  // A font of its own for one line.
  void SetLineFont(size_t line, const ChartFontInfo& font);
  ChartFontInfo& DefaultFont() { return defaultFont_; }

  // (0, 0) when hidden or without lines; sets the rectangle's bottom to top + height.
  ChartSize GetSize(ChartDc& dc);
  void SetTitleRect(const ChartRect& rect) { rect_ = rect; }
  const ChartRect& GetTitleRect() const { return rect_; }
  void Draw(ChartDc& dc);
  bool IsPointInside(ChartPoint p) const { return rect_.PtInRect(p); }

 private:
  ChartFontInfo& FontOf(size_t line);

  CChartCtrl* parent_;
  std::vector<std::u16string> lines_;
  std::map<size_t, ChartFontInfo> fonts_;
  bool visible_ = true;
  ChartFontInfo defaultFont_;
  ChartColor textColor_ = 0;
  ChartRect rect_;
};
