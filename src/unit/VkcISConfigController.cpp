#include "unit/VkcISConfigController.h"

#include <charconv>

#include "devices/VkcDevice.h"
#include "devices/VkcUnitImages.h"
#include "link/Ansi.h"
#include "unit/VkcServiceText.h"

namespace {

VkcNodePath ChildPath(const VkcNodePath& group, int key) {
  VkcNodePath path = group;
  path.steps[path.depth++] = key;
  return path;
}

}  // namespace

VkcISConfigController::~VkcISConfigController() = default;

bool VkcISConfigController::StoreText(std::u16string ServiceSettings::*field, const std::u16string& text,
                                      size_t limit, int i) {
  if (!ValidIndex(i) || text.size() > limit) return false;
  std::lock_guard<std::mutex> g(mutex_);
  entries_[i].*field = text;
  return true;
}

std::u16string VkcISConfigController::ReadText(std::u16string ServiceSettings::*field, int i) const {
  if (!ValidIndex(i)) return {};
  std::lock_guard<std::mutex> g(mutex_);
  return entries_[i].*field;
}

bool VkcISConfigController::SetPort(int port, int i) {
  if (port < 1 || port > 65535) return false;
  return StoreText(&ServiceSettings::port, AnsiToWide(std::to_string(port)), kMaxText, i);
}

int VkcISConfigController::GetPort(int i) const {
  const std::string text = WideToAnsi(ReadText(&ServiceSettings::port, i));
  const char* begin = text.data();
  const char* end = begin + text.size();
  while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
  if (begin < end && *begin == '+') ++begin;
  int value = 0;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() ? value : 0;
}

bool VkcISConfigController::SetLogin(const std::u16string& text, int i) {
  return StoreText(&ServiceSettings::login, text, kMaxText, i);
}
std::u16string VkcISConfigController::GetLogin(int i) const { return ReadText(&ServiceSettings::login, i); }

bool VkcISConfigController::SetPassword(const std::u16string& text, int i) {
  return StoreText(&ServiceSettings::password, text, kMaxText, i);
}
std::u16string VkcISConfigController::GetPassword(int i) const { return ReadText(&ServiceSettings::password, i); }

bool VkcISConfigController::SetMountPoint(const std::u16string&, int i) { return ValidIndex(i); }
std::u16string VkcISConfigController::GetMountPoint(int) const { return {}; }
bool VkcISConfigController::SetNmeaMessage(const std::u16string&, int i) { return ValidIndex(i); }
std::u16string VkcISConfigController::GetNmeaMessage(int) const { return {}; }

bool VkcISConfigController::SetRouting(int routing, int i) {
  if (!ValidIndex(i) || routing < 1 || routing > 10) return false;
  std::lock_guard<std::mutex> g(mutex_);
  entries_[i].routing = routing;
  return true;
}

int VkcISConfigController::GetRouting(int i) const {
  if (!ValidIndex(i)) return 0;
  std::lock_guard<std::mutex> g(mutex_);
  return entries_[i].routing;
}

int VkcISConfigController::GetState(int i) const {
  if (!ValidIndex(i)) return 0;
  std::lock_guard<std::mutex> g(mutex_);
  return entries_[i].state;
}

bool VkcISConfigController::SetAutorun(bool on, int i) {
  if (!ValidIndex(i)) return false;
  std::lock_guard<std::mutex> g(mutex_);
  entries_[i].autorun = on ? 1 : 0;
  return true;
}

bool VkcISConfigController::GetAutorun(int i) const {
  if (!ValidIndex(i)) return false;
  std::lock_guard<std::mutex> g(mutex_);
  return entries_[i].autorun != 0;
}

ServiceSettings VkcISConfigController::GetSettings(int i) const {
  if (!ValidIndex(i)) return {};
  std::lock_guard<std::mutex> g(mutex_);
  return entries_[i];
}

bool VkcISConfigController::LoadGroup(int i, Kind kind, const VkcNodePath& group,
                                      std::initializer_list<std::u16string ServiceSettings::*> fields) {
  const VkcDevice* device = unit_.GetCurrentDevice();
  if (!ValidIndex(i) || device == nullptr || device->GetModelId() <= 0 ||
      !device->HasFeature(unit_, kNetworkServicesFeature)) {
    return false;
  }
  ServiceSettings loaded = GetSettings(i);
  loaded.state = kind;
  int key = 0;
  for (auto field : fields) loaded.*field = ReadServiceText(unit_, ChildPath(group, key++));
  loaded.routing = unit_.ReadInt(VkcNodes::kRoutingType);
  loaded.autorun = unit_.ReadInt(VkcNodes::kServiceAutorun) != 0 ? 1 : 0;
  std::lock_guard<std::mutex> g(mutex_);
  entries_[i] = std::move(loaded);
  return true;
}

bool VkcISConfigController::SaveGroup(int i, const VkcNodePath& group,
                                      std::initializer_list<std::u16string ServiceSettings::*> fields) {
  const VkcDevice* device = unit_.GetCurrentDevice();
  if (!ValidIndex(i) || device == nullptr || !device->HasFeature(unit_, kNetworkServicesFeature)) return false;
  const ServiceSettings entry = GetSettings(i);
  int key = 0;
  for (auto field : fields) WriteServiceText(unit_, ChildPath(group, key++), entry.*field);
  unit_.WriteInt(VkcNodes::kServiceKind, entry.state);
  unit_.WriteInt(VkcNodes::kServiceAutorun, entry.autorun != 0 ? 1 : 0);
  return true;
}
