#pragma once
// Keeps a GSM unit's band, SIM PIN, APN, login and password between the user image and the
// GSM/GPRS page, and checks their lengths. Lives as long as the connected unit; UI thread only.

#include <string>

#include "unit/VkcGSMGPRSSettings.h"

class VkcUnitImages;

class VkcGSMGPRSConfigController {
 public:
  // The longest text a field takes, in UTF-16 code units.
  static constexpr size_t kMaxText = 64;

  explicit VkcGSMGPRSConfigController(VkcUnitImages& unit) : unit_(unit) {}

  // Each stores the text and answers true when it has at most kMaxText characters; otherwise
  // the field stays and the answer is false.
  bool SetPinCode(const std::u16string& text) { return Store(settings_.pinCode, text); }
  bool SetApn(const std::u16string& text) { return Store(settings_.apn, text); }
  bool SetLogin(const std::u16string& text) { return Store(settings_.login, text); }
  bool SetPassword(const std::u16string& text) { return Store(settings_.password, text); }

  // False without a current device, for a start-up or boot-loader unit, or without network
  // services (feature 13); otherwise reads the five values from the user image.
  bool LoadFromDevice();
  // Writes PIN, APN, login, password and band into the user image when the unit has network
  // services; true in every case.
  bool SaveToDevice();

  // The page reads and writes the band (and, on apply, every field) directly.
  VkcGSMGPRSSettings& Settings() { return settings_; }
  const VkcGSMGPRSSettings& Settings() const { return settings_; }

 private:
  static bool Store(std::u16string& field, const std::u16string& text) {
    if (text.size() > kMaxText) return false;
    field = text;
    return true;
  }

  VkcUnitImages& unit_;
  VkcGSMGPRSSettings settings_;
};
