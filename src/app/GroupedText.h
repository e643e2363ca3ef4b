#pragma once
// The text model behind the grouped edit: the raw text (editable characters only) laid out in
// fixed-size groups with separator texts between them, plus a caret and a selection counted in
// layout positions. No Qt: the widget only mirrors Display(), the caret and the selection.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class GroupedText {
 public:
  // One displayed character. group < 0: an editable character. group >= 0: character number
  // index of the separator text that follows that group.
  struct Position {
    char16_t ch;
    int8_t group;
    uint8_t index;
    bool IsSeparator() const { return group >= 0; }
  };

  void SetGroupSizes(std::vector<int> sizes);
  void SetDefaultSeparator(std::u16string separator);
  void SetSeparators(std::vector<std::u16string> perGroup);
  void SetMaxLength(uint32_t maxLength) { maxLength_ = maxLength; }
  uint32_t MaxLength() const { return maxLength_; }
  // true: the raw text fills the groups from the last position backwards.
  void SetFillFromRight(bool fromRight);
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool IsReadOnly() const { return readOnly_; }

  // Takes the text unchanged (no filter, no length limit); the caret goes to the end.
  void SetRawText(std::u16string raw);
  const std::u16string& RawText() const { return raw_; }
  std::u16string Display() const;
  const std::vector<Position>& Layout() const { return layout_; }
  int Length() const { return static_cast<int>(layout_.size()); }

  // Caret positions count layout positions; edit indexes count editable characters.
  int CaretFromIndex(int editIndex) const;
  int IndexFromCaret(int caret) const;

  int Caret() const { return caret_; }
  int SelectionStart() const { return selStart_; }
  int SelectionEnd() const { return selEnd_; }
  bool HasSelection() const { return selStart_ != selEnd_; }
  // Positions are clamped to the layout; an empty selection puts the caret at start.
  void SetCaret(int caret);
  void SetSelection(int start, int end);
  void SelectAll() { SetSelection(0, Length()); }

  // Editing; each returns whether the raw text changed. All are ignored when read-only.
  bool Type(char16_t ch);
  bool Backspace();
  bool Delete();
  bool Paste(const std::u16string& text);
  bool Clear();
  // Caret moves (read-only ignores them too, as the control does); they drop the selection.
  void Left();
  void Right();
  void End();

  // The selected editable characters, or nothing when the selection holds none.
  std::optional<std::u16string> Copy() const;
  // Copy, then delete the selection (the deletion only when editable).
  std::optional<std::u16string> Cut();

  static bool IsAccepted(char16_t ch);

 private:
  void Relayout();
  const std::u16string& SeparatorAfter(size_t group) const;
  // Deletes the selected editable characters; returns the edit index where they were.
  int DeleteSelection(bool* changed);

  std::vector<Position> layout_;
  std::u16string raw_;
  std::u16string defaultSeparator_;
  std::vector<int> groupSizes_;
  std::vector<std::u16string> separators_;
  uint32_t maxLength_ = 0;
  bool fromRight_ = false;
  bool readOnly_ = false;
  int caret_ = 0;
  int selStart_ = 0;
  int selEnd_ = 0;
};
