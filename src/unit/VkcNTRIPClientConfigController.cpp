#include "unit/VkcNTRIPClientConfigController.h"

namespace {
constexpr auto kFields = {&ServiceSettings::host,     &ServiceSettings::port,       &ServiceSettings::login,
                          &ServiceSettings::password, &ServiceSettings::mountPoint, &ServiceSettings::nmea};
}  // namespace

bool VkcNTRIPClientConfigController::SetHostName(const std::u16string& text, int i) {
  return StoreText(&ServiceSettings::host, text, kMaxText, i);
}

std::u16string VkcNTRIPClientConfigController::GetHostName(int i) const { return ReadText(&ServiceSettings::host, i); }

bool VkcNTRIPClientConfigController::SetMountPoint(const std::u16string& text, int i) {
  return StoreText(&ServiceSettings::mountPoint, text, kMaxText, i);
}

std::u16string VkcNTRIPClientConfigController::GetMountPoint(int i) const {
  return ReadText(&ServiceSettings::mountPoint, i);
}

bool VkcNTRIPClientConfigController::SetNmeaMessage(const std::u16string& text, int i) {
  return StoreText(&ServiceSettings::nmea, text, kMaxNmea, i);
}

std::u16string VkcNTRIPClientConfigController::GetNmeaMessage(int i) const { return ReadText(&ServiceSettings::nmea, i); }

bool VkcNTRIPClientConfigController::LoadFromDevice(int i) {
  return LoadGroup(i, kNtripClient, VkcNodes::kNtripClient, kFields);
}

bool VkcNTRIPClientConfigController::SaveToDevice(int i) { return SaveGroup(i, VkcNodes::kNtripClient, kFields); }
