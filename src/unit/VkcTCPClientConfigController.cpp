#include "unit/VkcTCPClientConfigController.h"

namespace {
constexpr auto kFields = {&ServiceSettings::host, &ServiceSettings::port, &ServiceSettings::login,
                          &ServiceSettings::password};
}  // namespace

bool VkcTCPClientConfigController::SetHostName(const std::u16string& text, int i) {
  return StoreText(&ServiceSettings::host, text, kMaxText, i);
}

std::u16string VkcTCPClientConfigController::GetHostName(int i) const { return ReadText(&ServiceSettings::host, i); }

bool VkcTCPClientConfigController::LoadFromDevice(int i) { return LoadGroup(i, kTcpClient, VkcNodes::kTcpClient, kFields); }

bool VkcTCPClientConfigController::SaveToDevice(int i) { return SaveGroup(i, VkcNodes::kTcpClient, kFields); }
