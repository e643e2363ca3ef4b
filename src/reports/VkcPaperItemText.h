#pragma once
// A line of text on paper. It is measured a little wider than it is drawn (the measuring font is
// wider and 80 x 20 units are added), which leaves room around the text in table cells.

#include <string>

#include "reports/VkcPaperItem.h"

class VkcPaperItemText : public VkcPaperItem {
 public:
  enum Align { kLeft = 0, kRight = 1, kCenter = 2 };
  // Height in paper units of the font that items with font height 0 use: about 10 points, so the
  // report reads well on paper.
  static constexpr int kStockFontHeight = 35;
  static constexpr const char* kStockFontFace = "Microsoft Sans Serif";

  explicit VkcPaperItemText(std::u16string text, platform::qt::ColorRef background = kNoBackground)
      : VkcPaperItem(background), text_(std::move(text)) {}

  void SetFormat(int align, int fontHeight, int weight) {
    align_ = align;
    fontHeight_ = fontHeight;
    weight_ = weight;
  }
  const std::u16string& GetText() const { return text_; }
  int GetAlign() const { return align_; }
  int GetFontHeight() const { return fontHeight_; }
  int GetWeight() const { return weight_; }

  platform::qt::Size GetSize(platform::qt::Dc& dc) override;
  void Draw(platform::qt::Dc& dc) override;
  std::unique_ptr<VkcPaperItem> Clone() const override;

  // The font the item uses: the stock font, or its copy with the item's height, character width
  // (height / widthDivisor) and weight.
  platform::qt::Font MakeFont(double widthDivisor) const;

 private:
  std::u16string text_;
  int align_ = kCenter;
  int fontHeight_ = 0;
  int weight_ = 400;
};
