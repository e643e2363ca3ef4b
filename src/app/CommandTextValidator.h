#pragma once
// The validator of an edit whose text goes into a command line: any text holding a control
// character (below 0x20, or 0x7F) is refused, so typing or pasting one leaves the edit as it was.

#include <QValidator>

class CommandTextValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};
