#include "app/PageControls.h"

void ControlState::SetItems(std::vector<std::u16string> entries, std::vector<intptr_t> data) {
  data.resize(entries.size(), 0);
  items = std::move(entries);
  itemData = std::move(data);
  if (selection >= ItemCount()) selection = -1;
}

int ControlState::AddItem(std::u16string entry, intptr_t data) {
  if (!items) items.emplace();
  items->push_back(std::move(entry));
  itemData.resize(items->size() - 1, 0);
  itemData.push_back(data);
  return ItemCount() - 1;
}

int ControlState::FindItem(std::u16string_view entry) const {
  for (int i = 0; i < ItemCount(); ++i)
    if ((*items)[static_cast<size_t>(i)] == entry) return i;
  return -1;
}

int ControlState::FindData(intptr_t data) const {
  for (size_t i = 0; i < itemData.size() && static_cast<int>(i) < ItemCount(); ++i)
    if (itemData[i] == data) return static_cast<int>(i);
  return -1;
}

std::u16string ControlState::SelectedItem() const {
  if (selection < 0 || selection >= ItemCount()) return {};
  return (*items)[static_cast<size_t>(selection)];
}

intptr_t ControlState::SelectedData() const {
  if (selection < 0 || static_cast<size_t>(selection) >= itemData.size()) return 0;
  return itemData[static_cast<size_t>(selection)];
}

const ControlState& PageControls::Get(int id) const {
  static const ControlState kNone;
  auto it = controls_.find(id);
  return it == controls_.end() ? kNone : it->second;
}

std::u16string PageControls::Text(int id) const {
  const ControlState& state = Get(id);
  return state.text ? *state.text : std::u16string();
}

void ControlState::ClearRows() {
  rows.emplace();
  selection = -1;
}

int ControlState::AddRow(ControlRow row) {
  if (!rows) rows.emplace();
  rows->push_back(std::move(row));
  return RowCount() - 1;
}

const ControlRow* ControlState::SelectedRow() const {
  if (selection < 0 || selection >= RowCount()) return nullptr;
  return &(*rows)[static_cast<size_t>(selection)];
}
