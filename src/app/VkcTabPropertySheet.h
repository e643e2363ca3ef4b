#pragma once
// One group of the tab model: its name, its ordered page entries (owned) and the current entry.

#include <memory>
#include <string>
#include <vector>

#include "app/VkcTabPropertyPage.h"

class VkcTabPropertySheet {
 public:
  explicit VkcTabPropertySheet(std::u16string name) : name_(std::move(name)) {}

  const std::u16string& GetName() const { return name_; }

  VkcTabPropertyPage* FindPage(std::u16string_view title) const;
  // The first entry for null; the one after page; null after the last or for a foreign entry.
  VkcTabPropertyPage* GetNextPage(const VkcTabPropertyPage* page) const;
  bool SelectPage(std::u16string_view title);
  VkcTabPropertyPage* GetCurrentPage() const { return current_; }
  // Before the entry titled before, or appended when before is null; false when that title is absent.
  bool InsertPage(std::unique_ptr<VkcTabPropertyPage> page, const char16_t* before = nullptr);
  int PageCount() const { return static_cast<int>(pages_.size()); }

 private:
  std::u16string name_;
  std::vector<std::unique_ptr<VkcTabPropertyPage>> pages_;
  VkcTabPropertyPage* current_ = nullptr;
};
