#include "reports/VkcPaperItem.h"

void VkcPaperItem::SetPosition(int x, int y) {
  position_ = {x, y};
  OnPlaced();
}

void VkcPaperItem::Place(int x, int y) {
  placed_ = true;
  position_ = {x, y};
  OnPlaced();
}

platform::qt::Size VkcPaperItem::Measure(platform::qt::Dc& dc) {
  size_ = GetSize(dc);
  return size_;
}

std::unique_ptr<VkcPaperItem> VkcPaperItem::CloneWithGeometry() const {
  std::unique_ptr<VkcPaperItem> copy = Clone();
  copy->size_ = size_;
  copy->position_ = position_;
  return copy;
}

void VkcPaperItem::DrawItem(platform::qt::Dc& dc) {
  if (background_ != kNoBackground) dc.FillSolidRect(GetRect(), background_);
  Draw(dc);
}
