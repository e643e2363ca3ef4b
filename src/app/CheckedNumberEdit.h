#pragma once
// An edit holding an integer that is checked when it loses the focus: the value it last
// accepted is remembered; a value outside [min, max] (or no number) fails, and the edit gets a
// fixed value or the remembered one back. The caller shows its own message on failure.

#include <optional>

#include "app/PageControls.h"

class CheckedNumberEdit {
 public:
  CheckedNumberEdit(int editId, int min, int max) : edit_(editId), min_(min), max_(max) {}

  void SetRange(int min, int max) {
    min_ = min;
    max_ = max;
  }
  // Shows value in the edit ("%d") and remembers it.
  void Show(PageControls& controls, int value);
  // The edit was left: true when its number lies in the range (it is then remembered and shown
  // again as "%d"); false when not, and fallback (or without one, the remembered value) is shown.
  bool Leave(PageControls& controls, std::optional<int> fallback = std::nullopt);

  int Value() const { return value_; }
  int Min() const { return min_; }
  int Max() const { return max_; }

 private:
  int edit_;
  int min_;
  int max_;
  int value_ = 0;
};
