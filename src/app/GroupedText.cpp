#include "app/GroupedText.h"

#include <algorithm>

void GroupedText::SetGroupSizes(std::vector<int> sizes) {
  groupSizes_ = std::move(sizes);
  Relayout();
}

void GroupedText::SetDefaultSeparator(std::u16string separator) {
  defaultSeparator_ = std::move(separator);
  Relayout();
}

void GroupedText::SetSeparators(std::vector<std::u16string> perGroup) {
  separators_ = std::move(perGroup);
  Relayout();
}

void GroupedText::SetFillFromRight(bool fromRight) {
  fromRight_ = fromRight;
  Relayout();
}

void GroupedText::SetRawText(std::u16string raw) {
  raw_ = std::move(raw);
  Relayout();
  SetCaret(Length());
}

const std::u16string& GroupedText::SeparatorAfter(size_t group) const {
  return group < separators_.size() ? separators_[group] : defaultSeparator_;
}

void GroupedText::Relayout() {
  layout_.clear();
  const size_t groups = groupSizes_.size();
  auto separator = [&](size_t group) {
    std::vector<Position> out;
    const std::u16string& text = SeparatorAfter(group);
    for (size_t k = 0; k < text.size(); ++k)
      out.push_back({text[k], static_cast<int8_t>(group), static_cast<uint8_t>(k)});
    return out;
  };
  if (!fromRight_) {
    size_t group = 0;
    int count = 0;
    for (char16_t ch : raw_) {
      while (groups > 0 && group + 1 < groups && count >= groupSizes_[group]) {
        auto sep = separator(group);
        layout_.insert(layout_.end(), sep.begin(), sep.end());
        ++group;
        count = 0;
      }
      layout_.push_back({ch, -1, 0});
      ++count;
    }
  } else {
    // Built backwards from the end, so the incomplete (and any overflowing) group is the first.
    std::vector<Position> reversed;
    size_t group = groups > 0 ? groups - 1 : 0;
    int count = 0;
    for (auto it = raw_.rbegin(); it != raw_.rend(); ++it) {
      while (groups > 0 && group > 0 && count >= groupSizes_[group]) {
        auto sep = separator(group - 1);
        reversed.insert(reversed.end(), sep.rbegin(), sep.rend());
        --group;
        count = 0;
      }
      reversed.push_back({*it, -1, 0});
      ++count;
    }
    layout_.assign(reversed.rbegin(), reversed.rend());
  }
  caret_ = std::min(caret_, Length());
  selStart_ = std::min(selStart_, Length());
  selEnd_ = std::min(selEnd_, Length());
}

std::u16string GroupedText::Display() const {
  std::u16string out;
  out.reserve(layout_.size());
  for (const Position& p : layout_) out.push_back(p.ch);
  return out;
}

int GroupedText::CaretFromIndex(int editIndex) const {
  int seen = 0;
  for (int i = 0; i < Length(); ++i) {
    if (layout_[i].IsSeparator()) continue;
    if (seen >= editIndex) return i;
    ++seen;
  }
  return Length();
}

int GroupedText::IndexFromCaret(int caret) const {
  caret = std::clamp(caret, 0, Length());
  int index = 0;
  for (int i = 0; i < caret; ++i)
    if (!layout_[i].IsSeparator()) ++index;
  return index;
}

void GroupedText::SetCaret(int caret) {
  caret_ = std::clamp(caret, 0, Length());
  selStart_ = selEnd_ = caret_;
}

void GroupedText::SetSelection(int start, int end) {
  start = std::clamp(start, 0, Length());
  end = std::clamp(end, 0, Length());
  if (start > end) std::swap(start, end);
  selStart_ = start;
  selEnd_ = end;
  caret_ = end;
}

bool GroupedText::IsAccepted(char16_t ch) {
  if (ch == u'\t') return true;
  if (ch < 0x20 || ch == 0x7F) return false;
  if (ch >= 0x80 && ch < 0xA0) return false;
  return true;
}

int GroupedText::DeleteSelection(bool* changed) {
  if (!HasSelection()) return IndexFromCaret(caret_);
  const int from = IndexFromCaret(selStart_);
  const int to = IndexFromCaret(selEnd_);
  if (to > from) {
    raw_.erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
    *changed = true;
  }
  Relayout();
  SetCaret(CaretFromIndex(from));
  return from;
}

bool GroupedText::Type(char16_t ch) {
  if (readOnly_ || !IsAccepted(ch)) return false;
  bool changed = false;
  const int index = DeleteSelection(&changed);
  if (maxLength_ != 0 && raw_.size() >= maxLength_) {
    if (static_cast<size_t>(index) >= raw_.size()) return changed;  // full and at the end: dropped
    raw_[static_cast<size_t>(index)] = ch;
  } else {
    raw_.insert(raw_.begin() + index, ch);
  }
  Relayout();
  SetCaret(CaretFromIndex(index + 1));
  return true;
}

bool GroupedText::Backspace() {
  if (readOnly_) return false;
  bool changed = false;
  if (HasSelection()) {
    DeleteSelection(&changed);
    return changed;
  }
  const int index = IndexFromCaret(caret_);
  if (index == 0) return false;
  raw_.erase(static_cast<size_t>(index - 1), 1);
  Relayout();
  SetCaret(CaretFromIndex(index - 1));
  return true;
}

bool GroupedText::Delete() {
  if (readOnly_) return false;
  bool changed = false;
  if (HasSelection()) {
    DeleteSelection(&changed);
    return changed;
  }
  int pos = caret_;
  while (pos < Length() && layout_[pos].IsSeparator()) ++pos;
  if (pos >= Length()) return false;
  const int keep = caret_;
  raw_.erase(static_cast<size_t>(IndexFromCaret(pos)), 1);
  Relayout();
  SetCaret(keep);
  return true;
}

bool GroupedText::Paste(const std::u16string& text) {
  if (readOnly_) return false;
  bool changed = false;
  const int index = DeleteSelection(&changed);
  raw_.insert(static_cast<size_t>(index), text);
  if (maxLength_ != 0 && raw_.size() > maxLength_) raw_.resize(maxLength_);
  Relayout();
  const int after = std::min(index + static_cast<int>(text.size()), static_cast<int>(raw_.size()));
  SetCaret(CaretFromIndex(after));
  return changed || !text.empty();
}

bool GroupedText::Clear() {
  if (readOnly_) return false;
  bool changed = false;
  DeleteSelection(&changed);
  return changed;
}

void GroupedText::Left() {
  if (readOnly_) return;
  SetCaret(caret_ - 1);
}

void GroupedText::Right() {
  if (readOnly_) return;
  SetCaret(caret_ + 1);
}

void GroupedText::End() {
  if (readOnly_) return;
  SetCaret(Length());
}

std::optional<std::u16string> GroupedText::Copy() const {
  std::u16string out;
  for (int i = selStart_; i < selEnd_; ++i)
    if (!layout_[i].IsSeparator()) out.push_back(layout_[i].ch);
  if (out.empty()) return std::nullopt;
  return out;
}

std::optional<std::u16string> GroupedText::Cut() {
  auto copied = Copy();
  if (!readOnly_) {
    bool changed = false;
    DeleteSelection(&changed);
  }
  return copied;
}
