#include "pages/VkcPPGSMGPRSModel.h"

#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "unit/VkcGSMGPRSConfigController.h"
#include "unit/VkcServiceText.h"
#include "unit/VkcSystem.h"

namespace {
constexpr int kEdits[] = {VkcPPGSMGPRSModel::kPinCode, VkcPPGSMGPRSModel::kApn, VkcPPGSMGPRSModel::kLogin,
                          VkcPPGSMGPRSModel::kPassword};
}  // namespace

VkcPPGSMGPRSModel::VkcPPGSMGPRSModel() {
  controls_[kBand].SetItems({u"GSM 900MHz, DCS 1800MHz", u"GSM 900MHz, PCS 1900MHz", u"GSM 850MHz, DCS 1800MHz",
                             u"GSM 850MHz, PCS 1900MHz"});
  for (int id : kEdits) {
    controls_[id].textLimit = kMaxText;
    controls_.SetCommandText(id);
  }
  using C = VkcGSMGPRSConfigController;
  On(kPinCode, ControlEvent::FocusLost,
     [this] { OnEditLeft(kPinCode, &C::SetPinCode, &VkcGSMGPRSSettings::pinCode, "Not valid Pin code.\r\n"); });
  On(kApn, ControlEvent::FocusLost,
     [this] { OnEditLeft(kApn, &C::SetApn, &VkcGSMGPRSSettings::apn, "Not valid APN.\r\n"); });
  On(kLogin, ControlEvent::FocusLost,
     [this] { OnEditLeft(kLogin, &C::SetLogin, &VkcGSMGPRSSettings::login, "Not valid Login.\r\n"); });
  On(kPassword, ControlEvent::FocusLost,
     [this] { OnEditLeft(kPassword, &C::SetPassword, &VkcGSMGPRSSettings::password, "Not valid Password.\r\n"); });
}

VkcSystem* VkcPPGSMGPRSModel::Unit() { return HasHost() ? &Host().Unit() : nullptr; }

VkcGSMGPRSConfigController* VkcPPGSMGPRSModel::Holder() {
  return Unit() != nullptr ? Unit()->GetGsmGprsController() : nullptr;
}

bool VkcPPGSMGPRSModel::HasNetworkServices() {
  VkcSystem* unit = Unit();
  const VkcDevice* device = unit != nullptr ? unit->GetCurrentDevice() : nullptr;
  return device != nullptr && device->HasFeature(*unit, kNetworkServicesFeature);
}

void VkcPPGSMGPRSModel::EnableControls(bool enable) {
  controls_.Enable(kBand, enable);
  for (int id : kEdits) controls_.Enable(id, enable);
}

void VkcPPGSMGPRSModel::Refresh() {
  VkcGSMGPRSConfigController* holder = Holder();
  const bool loaded = holder != nullptr && holder->LoadFromDevice();
  NoteFilledUnit(loaded);
  EnableControls(loaded);
  if (!loaded) return;  // the controls keep what they showed
  const VkcGSMGPRSSettings& s = holder->Settings();
  // A band this page has no name for shows no selection.
  controls_.Select(kBand, s.band >= 0 && s.band < controls_[kBand].ItemCount() ? s.band : -1);
  controls_.SetText(kPinCode, s.pinCode);
  controls_.SetText(kApn, s.apn);
  controls_.SetText(kLogin, s.login);
  controls_.SetText(kPassword, s.password);
}

void VkcPPGSMGPRSModel::OnEditLeft(int id, bool (VkcGSMGPRSConfigController::*set)(const std::u16string&),
                                   std::u16string VkcGSMGPRSSettings::*field, const char* message) {
  VkcGSMGPRSConfigController* holder = Holder();
  if (holder == nullptr) return;
  if ((holder->*set)(controls_.Text(id))) return;
  ShowMessage(std::string_view(message));
  controls_.SetText(id, holder->Settings().*field);
}

void VkcPPGSMGPRSModel::Exchange(VkcDataExchange& dx) {
  dx.Index(kBand, band_);
  dx.Text(kPinCode, kMaxText, pinCode_);
  dx.Text(kApn, kMaxText, apn_);
  dx.Text(kLogin, kMaxText, login_);
  dx.Text(kPassword, kMaxText, password_);
}

bool VkcPPGSMGPRSModel::Store() {
  VkcGSMGPRSConfigController* holder = Holder();
  if (holder == nullptr || !IsFilledUnit() || !HasNetworkServices()) return true;
  VkcGSMGPRSSettings& s = holder->Settings();
  // Without a selection the band stays as read: a band unknown to this page goes back unchanged.
  if (band_ >= 0) s.band = band_;
  s.pinCode = pinCode_;
  s.apn = apn_;
  s.login = login_;
  s.password = password_;
  holder->SaveToDevice();
  return true;
}
