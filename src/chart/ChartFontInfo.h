#pragma once
// A font description for the title and the axis label: face, size in tenths of a point and
// style. Selecting it turns the size into pixels at screen resolution, so a printer's mapping
// scales it with the rest of the chart.

#include <string>

#include "chart/ChartTypes.h"

class ChartFontInfo {
 public:
  ChartFontInfo() = default;

  void SetFace(const std::string& face);
  void SetSize(int tenthsOfPoint);
  void SetItalic(bool on);
  void SetBold(bool on);
  void SetUnderline(bool on);
  void SetVertical(bool on);

  const std::string& GetFace() const { return face_; }
  int GetSize() const { return size_; }
  bool IsVertical() const { return vertical_; }

  // Selects the font into the DC, keeping the one selected before for UnselectFont.
  void SelectFont(ChartDc& dc);
  void UnselectFont(ChartDc& dc);

  ChartFont ToFont() const;

 private:
  std::string face_ = "Microsoft Sans Serif";
  int size_ = 100;
  bool italic_ = false;
  bool bold_ = false;
  bool underline_ = false;
  bool vertical_ = false;
  ChartFont font_;
  bool dirty_ = true;
  ChartFont previous_;
};
