#include "unit/VkcTCPServerConfigController.h"

namespace {
constexpr auto kFields = {&ServiceSettings::port, &ServiceSettings::login, &ServiceSettings::password};
}  // namespace

bool VkcTCPServerConfigController::SetHostName(const std::u16string& text, int i) {
  if (i == 0) return true;
  return StoreText(&ServiceSettings::host, text, kMaxText, i);
}

std::u16string VkcTCPServerConfigController::GetHostName(int i) const {
  return i == 0 ? std::u16string() : ReadText(&ServiceSettings::host, i);
}

bool VkcTCPServerConfigController::LoadFromDevice(int i) { return LoadGroup(i, kTcpServer, VkcNodes::kTcpServer, kFields); }

bool VkcTCPServerConfigController::SaveToDevice(int i) { return SaveGroup(i, VkcNodes::kTcpServer, kFields); }
