#pragma once
// One item of a printed page: it measures itself for a device context, is placed at a position
// in paper units (tenths of a millimetre), draws itself, clones itself and, for tables, splits at
// a page boundary.

#include <memory>

#include "platform/qt/ColorRef.h"
#include "platform/qt/Dc.h"
#include "platform/qt/Point.h"
#include "platform/qt/Rect.h"
#include "platform/qt/Size.h"

class VkcPaperItem {
 public:
  // Background value meaning "nothing is filled behind the item".
  static constexpr platform::qt::ColorRef kNoBackground = 0x80000000u;

  explicit VkcPaperItem(platform::qt::ColorRef background = kNoBackground) : background_(background) {}
  virtual ~VkcPaperItem() = default;
  VkcPaperItem(const VkcPaperItem&) = delete;
  VkcPaperItem& operator=(const VkcPaperItem&) = delete;

  virtual void OnPlaced() {}
  virtual platform::qt::Size GetSize(platform::qt::Dc& dc) { return {}; }
  virtual void Draw(platform::qt::Dc& dc) {}
  virtual std::unique_ptr<VkcPaperItem> Clone() const = 0;
  virtual bool CanSplit() const { return false; }
  // The part below limit as a new item, this item keeping what lies above; null when it cannot.
  virtual std::unique_ptr<VkcPaperItem> Split(int yLimit) { return nullptr; }

  platform::qt::Size GetSizeValue() const { return size_; }
  void SetSizeValue(platform::qt::Size size) { size_ = size; }
  platform::qt::Point GetPosition() const { return position_; }
  bool IsPlaced() const { return placed_; }
  platform::qt::ColorRef GetBackground() const { return background_; }
  platform::qt::Rect GetRect() const {
    return {position_.x, position_.y, position_.x + size_.cx, position_.y + size_.cy};
  }
  // Moves the item without fixing it: the next pagination may move it again.
  void SetPosition(int x, int y);
  // Fixes the item at a position pagination leaves alone.
  void Place(int x, int y);
  platform::qt::Size Measure(platform::qt::Dc& dc);
  std::unique_ptr<VkcPaperItem> CloneWithGeometry() const;
  void DrawItem(platform::qt::Dc& dc);

 private:
  platform::qt::Size size_;
  platform::qt::Point position_;
  platform::qt::ColorRef background_;
  bool placed_ = false;
};
