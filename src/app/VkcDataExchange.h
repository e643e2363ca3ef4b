#pragma once
// The class library's dialog data exchange, done once for every page: each field's value is
// taken and assigned, then checked; every field is assigned even after a failure (so nothing is
// left stale), and the first failure's message and control are kept for the caller to show.

#include <cstdint>
#include <string>

class PageControls;

class VkcDataExchange {
 public:
  VkcDataExchange() = default;
  // Fields taken from a page's controls by id.
  explicit VkcDataExchange(const PageControls* controls) : controls_(controls) {}

  // The control's text as an integer in [min, max]; its text of at most maxChars characters.
  void Int(int controlId, int min, int max, int& value);
  void Int(int controlId, int64_t min, int64_t max, int64_t& value);
  void Text(int controlId, size_t maxChars, std::u16string& value);
  // Unchecked fields: the text, the check box, the index of a combo, list or radio group (-1
  // none), the position of a slider, spin box or progress bar.
  void Text(int controlId, std::u16string& value);
  void Check(int controlId, bool& value);
  void Index(int controlId, int& value);
  void Value(int controlId, int& value);

  // An integer field checked against [min, max]. Text that is not an integer leaves value as it
  // was and fails like a value out of range.
  void Int(int controlId, std::u16string_view text, int64_t min, int64_t max, int64_t& value);
  void Int(int controlId, std::u16string_view text, int min, int max, int& value);
  // A text field of at most maxChars characters; the text is assigned whatever its length.
  void Text(int controlId, std::u16string_view text, size_t maxChars, std::u16string& value);

  bool Ok() const { return failedControl_ == 0; }
  int FailedControl() const { return failedControl_; }
  // "Enter an integer between %1 and %2." or "Enter no more than %1 characters." filled in.
  const std::string& Message() const { return message_; }

  static std::string RangeMessage(int64_t min, int64_t max);
  static std::string LengthMessage(size_t maxChars);
  // Parses an optionally signed decimal integer with surrounding blanks; false for anything else.
  static bool ParseInt(std::u16string_view text, int64_t& out);

 private:
  void Fail(int controlId, std::string message);

  const PageControls* controls_ = nullptr;
  int failedControl_ = 0;
  std::string message_;
};
