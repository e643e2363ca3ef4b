#pragma once
// A slider and an edit showing one value within a range (the power pairs, the sleep pairs):
// - typing: a value in range moves the slider, below it to the minimum, above it to the maximum;
// - leaving the edit: a value out of range (or no number) is replaced by the slider's position;
// - scrolling: a line step moves the value by one within the range, page steps and the thumb take
//   the slider's position, home and end the limits; the edit follows.
// Plain logic on the page's controls: the model calls it from its handlers.

#include <cstdint>

#include "app/PageControls.h"

class SliderEditPair {
 public:
  SliderEditPair(int sliderId, int editId) : slider_(sliderId), edit_(editId) {}

  // The range, the slider's tick, and the value (clamped into the range) on both controls.
  void Show(PageControls& controls, int min, int max, int value, int tick);
  // As Show, but the edit keeps the value as it is: only the slider is bounded, so a value the
  // user does not touch can be stored back unchanged.
  void ShowUnbounded(PageControls& controls, int min, int max, int64_t value, int tick);
  void SetValue(PageControls& controls, int value);

  // Handlers: the edit's text changed; the edit was left (false when its value was out of
  // range and the slider's position came back); the slider was scrolled.
  void OnEditChanged(PageControls& controls);
  bool OnEditLeft(PageControls& controls);
  void OnScroll(PageControls& controls);

  int Value() const { return value_; }
  int Min() const { return min_; }
  int Max() const { return max_; }

 private:
  int Clamp(int v) const { return v < min_ ? min_ : v > max_ ? max_ : v; }

  int slider_;
  int edit_;
  int min_ = 0;
  int max_ = 0;
  int value_ = 0;
};
