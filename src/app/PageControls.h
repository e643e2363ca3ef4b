#pragma once
// What a page model says about its controls, keyed by control id: enabled and shown, the text,
// the list entries with their item data, the selection and the check state. Pure C++: page logic
// is tested on this; the Qt view (PageBinder) mirrors it onto widgets named "ctl<id>".

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct ControlState {
  bool enabled = true;
  bool visible = true;
  std::optional<std::u16string> text;  // unset: the view leaves the widget's own text
  std::optional<std::vector<std::u16string>> items;
  std::vector<intptr_t> itemData;
  int selection = -1;
  int check = 0;

  // Combo and list helpers.
  void SetItems(std::vector<std::u16string> entries, std::vector<intptr_t> data = {});
  int AddItem(std::u16string entry, intptr_t data = 0);
  int FindItem(std::u16string_view entry) const;  // exact match, -1 when absent
  int FindData(intptr_t data) const;
  std::u16string SelectedItem() const;
  intptr_t SelectedData() const;
  int ItemCount() const { return items ? static_cast<int>(items->size()) : 0; }
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
  void SetText(int id, std::u16string text) { controls_[id].text = std::move(text); }
  std::u16string Text(int id) const;

 private:
  std::map<int, ControlState> controls_;
};
