#include "app/SliderEditPair.h"

#include "app/PageText.h"
#include "app/VkcDataExchange.h"
#include "link/Utf.h"


void SliderEditPair::Show(PageControls& controls, int min, int max, int value, int tick) {
  min_ = min;
  max_ = max < min ? min : max;
  controls.SetRange(slider_, min_, max_);
  controls[slider_].tickInterval = tick;
  controls[slider_].lineStep = 1;
  SetValue(controls, value);
}

void SliderEditPair::ShowUnbounded(PageControls& controls, int min, int max, int64_t value, int tick) {
  Show(controls, min, max, static_cast<int>(value < min ? min : value > max ? max : value), tick);
  controls.SetText(edit_, Decimal(value));
}

void SliderEditPair::SetValue(PageControls& controls, int value) {
  value_ = Clamp(value);
  controls.SetValue(slider_, value_);
  controls.SetText(edit_, Decimal(value_));
}

void SliderEditPair::OnEditChanged(PageControls& controls) {
  int64_t typed = 0;
  if (!VkcDataExchange::ParseInt(controls.Text(edit_), typed)) return;
  const int position = typed < min_ ? min_ : typed > max_ ? max_ : static_cast<int>(typed);
  controls.SetValue(slider_, position);
  if (typed >= min_ && typed <= max_) value_ = position;
}

bool SliderEditPair::OnEditLeft(PageControls& controls) {
  int64_t typed = 0;
  if (VkcDataExchange::ParseInt(controls.Text(edit_), typed) && typed >= min_ && typed <= max_) {
    SetValue(controls, static_cast<int>(typed));
    return true;
  }
  SetValue(controls, controls.Value(slider_));
  return false;
}

void SliderEditPair::OnScroll(PageControls& controls) {
  const ControlState& slider = controls.Get(slider_);
  switch (slider.action) {
    case SliderAction::LineUp: SetValue(controls, value_ - 1); break;
    case SliderAction::LineDown: SetValue(controls, value_ + 1); break;
    case SliderAction::Top: SetValue(controls, min_); break;
    case SliderAction::Bottom: SetValue(controls, max_); break;
    case SliderAction::PageUp:
    case SliderAction::PageDown:
    case SliderAction::Track:
    case SliderAction::None: SetValue(controls, slider.value); break;
  }
}
