#pragma once
// The GSM/GPRS settings of a unit with a GSM modem, as the settings holder keeps them.

#include <cstdint>
#include <string>

struct VkcGSMGPRSSettings {
  int32_t band = 0;  // index of the frequency band
  std::u16string pinCode;
  std::u16string apn;
  std::u16string login;
  std::u16string password;
};
