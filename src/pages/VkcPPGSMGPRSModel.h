#pragma once
// The GSM/GPRS page without widgets: the frequency band, SIM PIN, APN, login and password of a
// unit with a GSM modem, kept by the connected unit's GSM/GPRS holder. Each edit goes to the
// holder when it is left; apply writes the five values into the unit image.

#include <string>

#include "app/PageModel.h"
#include "unit/VkcGSMGPRSSettings.h"

class VkcGSMGPRSConfigController;
class VkcSystem;

class VkcPPGSMGPRSModel : public PageModel {
 public:
  static constexpr int kTemplate = 1005;
  // Control ids.
  static constexpr int kBand = 1180;
  static constexpr int kPinCode = 1183;
  static constexpr int kApn = 1181;
  static constexpr int kLogin = 1158;
  static constexpr int kPassword = 1182;
  static constexpr int kMaxText = 64;

  VkcPPGSMGPRSModel();

  void Refresh() override;

 protected:
  void Exchange(VkcDataExchange& dx) override;
  bool Store() override;

 private:
  VkcSystem* Unit();
  VkcGSMGPRSConfigController* Holder();
  bool HasNetworkServices();
  // An edit left: the holder takes the text or the page shows why and puts the old text back.
  void OnEditLeft(int id, bool (VkcGSMGPRSConfigController::*set)(const std::u16string&),
                  std::u16string VkcGSMGPRSSettings::*field, const char* message);
  void EnableControls(bool enable);

  int band_ = -1;
  std::u16string pinCode_, apn_, login_, password_;
};
