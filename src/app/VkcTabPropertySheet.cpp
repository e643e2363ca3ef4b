#include "app/VkcTabPropertySheet.h"

VkcTabPropertyPage* VkcTabPropertySheet::FindPage(std::u16string_view title) const {
  for (const auto& page : pages_)
    if (page->GetName() == title) return page.get();
  return nullptr;
}

VkcTabPropertyPage* VkcTabPropertySheet::GetNextPage(const VkcTabPropertyPage* page) const {
  if (page == nullptr) return pages_.empty() ? nullptr : pages_.front().get();
  for (size_t i = 0; i < pages_.size(); ++i)
    if (pages_[i].get() == page) return i + 1 < pages_.size() ? pages_[i + 1].get() : nullptr;
  return nullptr;
}

bool VkcTabPropertySheet::SelectPage(std::u16string_view title) {
  VkcTabPropertyPage* page = FindPage(title);
  if (page == nullptr) return false;
  current_ = page;
  return true;
}

bool VkcTabPropertySheet::InsertPage(std::unique_ptr<VkcTabPropertyPage> page, const char16_t* before) {
  if (!page) return false;
  if (before == nullptr) {
    pages_.push_back(std::move(page));
    return true;
  }
  for (auto it = pages_.begin(); it != pages_.end(); ++it) {
    if ((*it)->GetName() == before) {
      pages_.insert(it, std::move(page));
      return true;
    }
  }
  return false;
}
