#include "app/CheckedNumberEdit.h"

#include "app/VkcDataExchange.h"
#include "link/Utf.h"

void CheckedNumberEdit::Show(PageControls& controls, int value) {
  value_ = value;
  controls.SetText(edit_, Utf8ToUtf16(std::to_string(value)));
}

bool CheckedNumberEdit::Leave(PageControls& controls, std::optional<int> fallback) {
  int64_t typed = 0;
  if (VkcDataExchange::ParseInt(controls.Text(edit_), typed) && typed >= min_ && typed <= max_) {
    Show(controls, static_cast<int>(typed));
    return true;
  }
  Show(controls, fallback.value_or(value_));
  return false;
}
