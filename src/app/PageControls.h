#pragma once
// What a page model says about its controls, keyed by control id: enabled, shown and read-only,
// the text and its limit, the list entries with their item data, rows and columns of list and
// tree views, the selection, the check state, and the value and range of sliders, spin boxes and
// progress bars. Pure C++: page logic is tested on this; the Qt view (PageBinder) mirrors it onto
// the widgets named "ctl<id>".

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What the user did to a control.
enum class ControlEvent { Clicked, SelectionChanged, TextEdited, FocusLost, ValueChanged, Scrolled, DoubleClicked };

// The slider action behind a Scrolled event.
enum class SliderAction { None, LineUp, LineDown, PageUp, PageDown, Track, Top, Bottom };

// One row of a list or tree view: its cells by column, an icon index (-1 none), item data, its
// parent row (-1 top level; a parent comes before its children) and a check box (-1 none, 0, 1).
struct ControlRow {
  std::vector<std::u16string> cells;
  int icon = -1;
  intptr_t data = 0;
  int parent = -1;
  int check = -1;
  bool operator==(const ControlRow&) const = default;
};

struct ControlRange {
  int min = 0;
  int max = 0;
  bool operator==(const ControlRange&) const = default;
};

struct ControlState {
  bool enabled = true;
  bool visible = true;
  bool readOnly = false;
  std::optional<std::u16string> text;  // unset: the view leaves the widget's own text
  int textLimit = 0;                   // edits: most characters the user may type, 0 no limit
  bool commandText = false;            // edits: the text goes into a command line; control characters are refused
  // Combo boxes: entries and their item data. Combos, lists, trees: the selected entry or row.
  // Radio groups: the index of the checked button. -1 is none.
  std::optional<std::vector<std::u16string>> items;
  std::vector<intptr_t> itemData;
  int selection = -1;
  int check = 0;  // check boxes: 0, 1, 2 (indeterminate)
  // Lists and trees.
  std::optional<std::vector<std::u16string>> columns;
  std::optional<std::vector<ControlRow>> rows;
  // Sliders, spin boxes and progress bars.
  int value = 0;
  std::optional<ControlRange> range;  // unset: the view leaves the widget's own range
  int lineStep = 0;                   // 0: the widget's own
  int pageStep = 0;
  int tickInterval = 0;
  SliderAction action = SliderAction::None;  // the last slider action, set by the view

  // Combo helpers.
  void SetItems(std::vector<std::u16string> entries, std::vector<intptr_t> data = {});
  int AddItem(std::u16string entry, intptr_t data = 0);
  int FindItem(std::u16string_view entry) const;  // exact match, -1 when absent
  int FindData(intptr_t data) const;
  std::u16string SelectedItem() const;
  intptr_t SelectedData() const;
  int ItemCount() const { return items ? static_cast<int>(items->size()) : 0; }

  // List and tree helpers.
  void ClearRows();
  int AddRow(ControlRow row);
  int RowCount() const { return rows ? static_cast<int>(rows->size()) : 0; }
  const ControlRow* SelectedRow() const;
};

class PageControls {
 public:
  ControlState& operator[](int id) { return controls_[id]; }
  const ControlState& Get(int id) const;
  bool Has(int id) const { return controls_.count(id) != 0; }
  const std::map<int, ControlState>& All() const { return controls_; }

  // Shortcuts used by every page.
  void Enable(int id, bool enabled) { controls_[id].enabled = enabled; }
  void Show(int id, bool visible) { controls_[id].visible = visible; }
  void SetReadOnly(int id, bool readOnly) { controls_[id].readOnly = readOnly; }
  // The edit's text becomes part of a command line: the edit refuses control characters, typed or pasted.
  void SetCommandText(int id) { controls_[id].commandText = true; }
  void SetText(int id, std::u16string text) { controls_[id].text = std::move(text); }
  std::u16string Text(int id) const;
  void SetCheck(int id, bool checked) { controls_[id].check = checked ? 1 : 0; }
  bool Checked(int id) const { return Get(id).check == 1; }
  void Select(int id, int index) { controls_[id].selection = index; }
  int Selection(int id) const { return Get(id).selection; }
  void SetValue(int id, int value) { controls_[id].value = value; }
  int Value(int id) const { return Get(id).value; }
  void SetRange(int id, int min, int max) { controls_[id].range = ControlRange{min, max}; }

  // The control the view focuses at its next update (after a refused check), 0 for none.
  void RequestFocus(int id) { focus_ = id; }
  int TakeFocusRequest() { return std::exchange(focus_, 0); }

 private:
  std::map<int, ControlState> controls_;
  int focus_ = 0;
};
