#pragma once
// The group strip: tabs down the left side with their text turned a quarter turn.

#include "app/VkcTabStrip.h"

class VkcVerticalTabControl : public VkcTabStrip {
 public:
  explicit VkcVerticalTabControl(QWidget* parent = nullptr) : VkcTabStrip(parent) {
    setShape(QTabBar::RoundedWest);
  }
};
