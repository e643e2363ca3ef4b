#pragma once
// The page strip: tabs along the top, text unrotated.

#include "app/VkcTabStrip.h"

class VkcHorizontalTabControl : public VkcTabStrip {
 public:
  explicit VkcHorizontalTabControl(QWidget* parent = nullptr) : VkcTabStrip(parent) {
    setShape(QTabBar::RoundedNorth);
  }
};
