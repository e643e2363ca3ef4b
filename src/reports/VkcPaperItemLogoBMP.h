#pragma once
// The logo at the top of a printed report: a bitmap from the program's own images, stretched into
// the item's rectangle.

#include <QImage>

#include "reports/VkcPaperItem.h"

class VkcPaperItemLogoBMP : public VkcPaperItem {
 public:
  static constexpr int kReportLogo = 152;

  explicit VkcPaperItemLogoBMP(int resourceId);

  const QImage& GetBitmap() const { return bitmap_; }
  platform::qt::Size GetSize(platform::qt::Dc& dc) override;
  void Draw(platform::qt::Dc& dc) override;
  std::unique_ptr<VkcPaperItem> Clone() const override;

  // The program's bitmap with that id; a null image for an unknown id.
  static QImage LoadBitmap(int resourceId);

 private:
  int resourceId_;
  QImage bitmap_;
};
