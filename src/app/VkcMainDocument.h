#pragma once
// The tab model of the main dialog: the ordered groups (owned) and the current group.

#include <memory>
#include <string>
#include <vector>

#include "app/VkcTabPropertySheet.h"

class VkcMainDocument {
 public:
  // Builds the groups and entries the main dialog shows; "Preferences" is current.
  void Init();

  void AddGroup(std::unique_ptr<VkcTabPropertySheet> group);
  // Appends the entry to the named group; false when there is no such group.
  bool AddPage(std::u16string_view group, std::unique_ptr<VkcTabPropertyPage> page, bool makeCurrent);
  VkcTabPropertySheet* FindGroup(std::u16string_view name) const;
  // The first group for null; the one after group; null after the last or for a foreign group.
  VkcTabPropertySheet* GetNextGroup(const VkcTabPropertySheet* group) const;
  bool SelectGroup(std::u16string_view name);
  VkcTabPropertySheet* GetCurrentGroup() const { return current_; }
  int GroupCount() const { return static_cast<int>(groups_.size()); }

 private:
  std::vector<std::unique_ptr<VkcTabPropertySheet>> groups_;
  VkcTabPropertySheet* current_ = nullptr;
};
