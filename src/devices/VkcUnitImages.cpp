// The meaning of the unit images' fixed nodes: own row, serial number, own address, product check.

#include "devices/VkcUnitImages.h"

#include <atomic>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceManager.h"
#include "link/Ansi.h"
#include "link/Format.h"

namespace {

std::atomic<VkcUnitImages*> gUnitImages{nullptr};

UnitId BytesOf(const CfgNode* node) {
  std::array<uint8_t, UnitId::kSize> bytes{};
  if (node) node->GetBytes(bytes.data(), bytes.size());
  return UnitId(bytes);
}

const CfgNode* FindChildAt(const CfgNode* node, int index) {
  if (!node || index < 0 || static_cast<size_t>(index) >= node->GetChildCount()) return nullptr;
  return &node->ChildAt(static_cast<size_t>(index));
}

}  // namespace

std::string VkcNodePath::ToString() const {
  static const char* const kNames[] = {"DFCFG", "DDCFG", "CFGDN", "MCU"};
  std::string out = kNames[static_cast<int>(image)];
  for (int step : Steps()) out += step == kOwnRow ? std::string("[R]") : StrPrintf("[%d]", step);
  return out;
}

VkcUnitImages::VkcUnitImages() = default;
VkcUnitImages::~VkcUnitImages() {
  VkcUnitImages* self = this;
  gUnitImages.compare_exchange_strong(self, nullptr);
}

const CfgNode* VkcUnitImages::Find(const VkcNodePath& path) const {
  const CfgNode* node = &Image(path.image).Root();
  int ownRow = -1;
  for (int step : path.Steps()) {
    if (step == VkcNodePath::kOwnRow) {
      if (ownRow < 0) ownRow = GetOwnUnitIndex();
      step = ownRow;
    }
    node = FindChildAt(node, step);
    if (!node) return nullptr;
  }
  return node;
}

CfgNode& VkcUnitImages::At(const VkcNodePath& path) {
  CfgNode* node = &Image(path.image).Root();
  int ownRow = -1;
  for (int step : path.Steps()) {
    if (step == VkcNodePath::kOwnRow) {
      if (ownRow < 0) ownRow = GetOwnUnitIndex();
      step = ownRow;
    }
    node = &node->GetChildAt(step);
  }
  return *node;
}

int32_t VkcUnitImages::ReadInt(const VkcNodePath& path) const {
  const CfgNode* node = Find(path);
  return node ? node->GetInt() : 0;
}

uint32_t VkcUnitImages::ReadType(const VkcNodePath& path) const {
  const CfgNode* node = Find(path);
  return node ? node->GetType() : CfgNode::kTypeNone;
}

int VkcUnitImages::GetOwnUnitIndex() const {
  const UnitId serial = GetSerialNumber();
  const CfgNode* table = FindChildAt(&Image(VkcImage::User).Root(), VkcNodes::kUnitTable.steps[0]);
  if (!table) return 0;
  for (size_t row = 0; row < table->GetChildCount(); ++row) {
    if (BytesOf(&table->ChildAt(row)) == serial) return static_cast<int>(row);
  }
  return 0;
}

UnitId VkcUnitImages::GetSerialNumber() const {
  if (Image(VkcImage::Factory).IsEmpty()) return UnitId();
  return BytesOf(Find(VkcNodes::kSerialNumber));
}

void VkcUnitImages::SetSerialNumber(const UnitId& serial) {
  const int row = GetOwnUnitIndex();  // found with the old serial number
  At(VkcNodes::kSerialNumber).SetBytes(serial.Bytes().data(), UnitId::kSize);
  At(VkcNodes::kUnitTable, row).SetBytes(serial.Bytes().data(), UnitId::kSize);
}

UnitId VkcUnitImages::GetOwnUnitAddress() {
  if (User().IsEmpty()) return UnitId();
  if (!HasValue(VkcNodes::kBtState)) return BytesOf(Find(VkcNodes::kBtSetting));
  // An older image keeps the address as bytes in the Bluetooth setting: move it once. The type
  // code tells it; the leftover bytes stay (the setter keeps the other fields), so testing them
  // would move a stale address over a newer one on every call.
  if (ReadType(VkcNodes::kBtSetting) == CfgNode::kTypeBytes) {
    const UnitId address = BytesOf(Find(VkcNodes::kBtSetting));
    At(VkcNodes::kOwnAddress).SetBytes(address.Bytes().data(), UnitId::kSize);
    At(VkcNodes::kBtSetting).SetInt(4);
    return address;
  }
  return BytesOf(Find(VkcNodes::kOwnAddress));
}

void VkcUnitImages::SetOwnUnitAddress(const UnitId& address) {
  const VkcNodePath& path = HasValue(VkcNodes::kBtState) ? VkcNodes::kOwnAddress : VkcNodes::kBtSetting;
  At(path).SetBytes(address.Bytes().data(), UnitId::kSize);
}

std::u16string VkcUnitImages::GetDescription() const {
  const CfgNode* node = Find(VkcNodes::kDescription);
  if (!node) return {};
  if (node->GetType() == CfgNode::kTypeWString) return node->GetWString();
  return AnsiToWide(node->GetString());
}

bool VkcUnitImages::HasMainImage() const {
  const CfgNode* node = Find(VkcNodes::kMainImage);
  return node && !node->GetString().empty() && node->GetString().find("N/A") == std::string::npos;
}

bool VkcUnitImages::CheckProductType(const VkcDeviceManager& manager) {
  const CfgNode* node = Find(VkcNodes::kDealerModel);
  if (!node) return false;
  const VkcDevice* model = nullptr;
  if (node->GetType() == CfgNode::kTypeInt) {
    model = manager.GetDevice(node->GetInt());
  } else if (node->GetType() == CfgNode::kTypeString) {
    model = manager.FindDeviceByName(AnsiToWide(node->GetString()));
  }
  if (!model) return false;
  const VkcDevice* current = currentDevice_;
  auto isVk400Pair = [](int id) { return id == 4 || id == 31; };
  if (current && model->GetModelId() != current->GetModelId() && isVk400Pair(model->GetModelId()) &&
      isVk400Pair(current->GetModelId())) {
    At(VkcNodes::kDealerModel).SetString(WideToAnsi(current->GetName()));
  }
  return true;
}

void VkcUnitImages::CopyFactorySections(VkcConfiguration& target) const {
  const CfgNode& factory = Image(VkcImage::Factory).Root();
  for (int section : VkcNodes::kFactoryUnitSections) {
    if (section == 2 && !(currentDevice_ && currentDevice_->IsTransceiver())) continue;
    const CfgNode* source = FindChildAt(&factory, section);
    target.GetChild(section) = source ? *source : CfgNode();
  }
}

void VkcUnitImages::ClearForIdentification() {
  softwareVersion_ = hardwareVersion_ = bootLoaderVersion_ = "N/A";
  Factory().Clear();
  Dealer().Clear();
  User().Clear();
  currentDevice_ = nullptr;
}

int VkcUnitImages::GetProtocol(platform::Event*) { return -1; }
int VkcUnitImages::SetRadioCommand(const std::string&, platform::Event*) { return -1; }

VkcUnitImages* GlobalUnitImages() { return gUnitImages.load(); }
void SetGlobalUnitImages(VkcUnitImages* images) { gUnitImages.store(images); }
