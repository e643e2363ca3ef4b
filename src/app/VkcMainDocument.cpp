#include "app/VkcMainDocument.h"

void VkcMainDocument::Init() {
  groups_.clear();
  current_ = nullptr;
  auto plain = [](const char16_t* title) { return std::make_unique<VkcTabPropertyPage>(title); };

  AddGroup(std::make_unique<VkcTabPropertySheet>(titles::kConfigurations));
  AddPage(titles::kConfigurations, std::make_unique<VkcTabPPIdentify>(), true);
  AddPage(titles::kConfigurations, std::make_unique<VkcTabPPWireless>(), false);
  for (const char16_t* title : {titles::kAdvancedWireless, titles::kSerialInterface, titles::kModem,
                                titles::kDealer, titles::kBluetooth, titles::kGsmGprs, titles::kRtn,
                                titles::kRemoteList})
    AddPage(titles::kConfigurations, plain(title), false);

  AddGroup(std::make_unique<VkcTabPropertySheet>(titles::kPreferences));
  AddPage(titles::kPreferences, std::make_unique<VkcTabPPSerialIface>(), true);

  AddGroup(std::make_unique<VkcTabPropertySheet>(titles::kUtilities));
  AddPage(titles::kUtilities, plain(titles::kDownloadFirmware), true);
  for (const char16_t* title : {titles::kBertTransmit, titles::kBertReceive, titles::kLbandStatus,
                                titles::kSpectrumUtility, titles::kBeaconAlmanac, titles::kRtnUtility})
    AddPage(titles::kUtilities, plain(title), false);

  AddGroup(std::make_unique<VkcTabPropertySheet>(titles::kNetworking));
  AddPage(titles::kNetworking, std::make_unique<VkcTabPPIdentify>(), true);

  SelectGroup(titles::kPreferences);
}

void VkcMainDocument::AddGroup(std::unique_ptr<VkcTabPropertySheet> group) {
  if (group) groups_.push_back(std::move(group));
}

bool VkcMainDocument::AddPage(std::u16string_view group, std::unique_ptr<VkcTabPropertyPage> page,
                              bool makeCurrent) {
  VkcTabPropertySheet* sheet = FindGroup(group);
  if (sheet == nullptr || !page) return false;
  const std::u16string title = page->GetName();
  sheet->InsertPage(std::move(page));
  if (makeCurrent) sheet->SelectPage(title);
  return true;
}

VkcTabPropertySheet* VkcMainDocument::FindGroup(std::u16string_view name) const {
  for (const auto& group : groups_)
    if (group->GetName() == name) return group.get();
  return nullptr;
}

VkcTabPropertySheet* VkcMainDocument::GetNextGroup(const VkcTabPropertySheet* group) const {
  if (group == nullptr) return groups_.empty() ? nullptr : groups_.front().get();
  for (size_t i = 0; i < groups_.size(); ++i)
    if (groups_[i].get() == group) return i + 1 < groups_.size() ? groups_[i + 1].get() : nullptr;
  return nullptr;
}

bool VkcMainDocument::SelectGroup(std::u16string_view name) {
  VkcTabPropertySheet* group = FindGroup(name);
  if (group == nullptr) return false;
  current_ = group;
  return true;
}
