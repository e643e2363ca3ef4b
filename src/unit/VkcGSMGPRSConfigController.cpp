#include "unit/VkcGSMGPRSConfigController.h"

#include "devices/VkcDevice.h"
#include "devices/VkcUnitImages.h"
#include "unit/VkcServiceText.h"

bool VkcGSMGPRSConfigController::LoadFromDevice() {
  const VkcDevice* device = unit_.GetCurrentDevice();
  if (device == nullptr || device->GetModelId() <= 0 || !device->HasFeature(unit_, kNetworkServicesFeature)) {
    return false;
  }
  settings_.pinCode = ReadServiceText(unit_, VkcNodes::kGsmPin);
  settings_.apn = ReadServiceText(unit_, VkcNodes::kGsmApn);
  settings_.login = ReadServiceText(unit_, VkcNodes::kGsmLogin);
  settings_.password = ReadServiceText(unit_, VkcNodes::kGsmPassword);
  settings_.band = unit_.ReadInt(VkcNodes::kGsmBand);
  return true;
}

bool VkcGSMGPRSConfigController::SaveToDevice() {
  const VkcDevice* device = unit_.GetCurrentDevice();
  if (device == nullptr || !device->HasFeature(unit_, kNetworkServicesFeature)) return true;
  WriteServiceText(unit_, VkcNodes::kGsmPin, settings_.pinCode);
  WriteServiceText(unit_, VkcNodes::kGsmApn, settings_.apn);
  WriteServiceText(unit_, VkcNodes::kGsmLogin, settings_.login);
  WriteServiceText(unit_, VkcNodes::kGsmPassword, settings_.password);
  unit_.WriteInt(VkcNodes::kGsmBand, settings_.band);
  return true;
}
