#include "pages/VkcPPRTNServicesModel.h"

#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "pages/VkcPPRTNPortField.h"
#include "unit/VkcISConfigController.h"
#include "unit/VkcServiceText.h"
#include "unit/VkcSystem.h"

namespace {
constexpr int kEntry = 0;  // the service as the unit image keeps it
constexpr int kSlot = 0;
}  // namespace

VkcPPRTNServicesModel::VkcPPRTNServicesModel() {
  controls_[kService].SetItems({u"TCP client", u"NTRIP client", u"TCP server"});
  controls_.SetText(kPort, u"1");
  for (int id : {kHost, kLogin, kPassword, kMountPoint, kNmea}) controls_.SetCommandText(id);
  using C = VkcISConfigController;
  On(kService, ControlEvent::SelectionChanged, [this] { OnServiceChanged(); });
  On(kHost, ControlEvent::FocusLost,
     [this] { OnTextLeft(kHost, &C::SetHostName, &C::GetHostName, "Not valid Host name.\r\n"); });
  On(kLogin, ControlEvent::FocusLost,
     [this] { OnTextLeft(kLogin, &C::SetLogin, &C::GetLogin, "Not valid Login.\r\n"); });
  On(kPassword, ControlEvent::FocusLost,
     [this] { OnTextLeft(kPassword, &C::SetPassword, &C::GetPassword, "Not valid Password.\r\n"); });
  On(kMountPoint, ControlEvent::FocusLost,
     [this] { OnTextLeft(kMountPoint, &C::SetMountPoint, &C::GetMountPoint, "Not valid Mount Point.\r\n"); });
  On(kNmea, ControlEvent::FocusLost,
     [this] { OnTextLeft(kNmea, &C::SetNmeaMessage, &C::GetNmeaMessage, "Not valid NMEA GGA message.\r\n"); });
  On(kPort, ControlEvent::FocusLost, [this] { OnPortLeft(); });
}

VkcSystem* VkcPPRTNServicesModel::Unit() { return HasHost() ? &Host().Unit() : nullptr; }

VkcISConfigController* VkcPPRTNServicesModel::Service() {
  return Unit() != nullptr ? Unit()->GetConfigController(kSlot) : nullptr;
}

bool VkcPPRTNServicesModel::HasNetworkServices() {
  VkcSystem* unit = Unit();
  const VkcDevice* device = unit != nullptr ? unit->GetCurrentDevice() : nullptr;
  return device != nullptr && device->HasFeature(*unit, kNetworkServicesFeature);
}

void VkcPPRTNServicesModel::EnableControls(bool enable) {
  VkcISConfigController* service = Service();
  for (int id : {kService, kPort, kLogin, kPassword, kAutorun}) controls_.Enable(id, enable);
  controls_.Enable(kHost, enable && service != nullptr && service->UsesHostName());
  const bool mountPoint = enable && service != nullptr && service->UsesMountPoint();
  controls_.Enable(kMountPoint, mountPoint);
  controls_.Enable(kNmea, mountPoint);
}

void VkcPPRTNServicesModel::Fill() {
  VkcISConfigController* s = Service();
  shownService_ = s->GetState(kEntry);
  controls_.Select(kService, shownService_);
  controls_.SetCheck(kAutorun, s->GetAutorun(kEntry));
  controls_.SetText(kHost, s->GetHostName(kEntry));
  controls_.SetText(kPort, PortFieldText(s->GetPort(kEntry)));
  controls_.SetText(kLogin, s->GetLogin(kEntry));
  controls_.SetText(kPassword, s->GetPassword(kEntry));
  controls_.SetText(kMountPoint, s->GetMountPoint(kEntry));
  controls_.SetText(kNmea, s->GetNmeaMessage(kEntry));
}

void VkcPPRTNServicesModel::Refresh() {
  VkcSystem* unit = Unit();
  const bool loaded = unit != nullptr && unit->SelectConfigController(-2, kSlot) && Service()->LoadFromDevice(kEntry);
  NoteFilledUnit(loaded);
  if (loaded) Fill();
  EnableControls(loaded);
}

void VkcPPRTNServicesModel::OnServiceChanged() {
  VkcSystem* unit = Unit();
  const int chosen = controls_.Selection(kService);
  if (unit == nullptr || !IsFilledUnit() || chosen == shownService_) return;
  // The service shown so far keeps what the page holds; fields that fail their check keep it there.
  if (!Apply()) {
    controls_.Select(kService, shownService_);
    return;
  }
  if (!unit->SelectConfigController(chosen, kSlot) || !Service()->LoadFromDevice(kEntry)) return;
  Fill();
  EnableControls(true);
}

void VkcPPRTNServicesModel::OnTextLeft(int id, bool (VkcISConfigController::*set)(const std::u16string&, int),
                                       std::u16string (VkcISConfigController::*get)(int) const,
                                       const char* message) {
  VkcISConfigController* s = Service();
  if (s == nullptr) return;
  if ((s->*set)(controls_.Text(id), kEntry)) return;
  ShowMessage(std::string_view(message));
  controls_.SetText(id, (s->*get)(kEntry));
}

void VkcPPRTNServicesModel::OnPortLeft() {
  VkcISConfigController* s = Service();
  if (s == nullptr) return;
  VkcDataExchange dx(&controls_);
  int port = 0;
  ExchangePortField(dx, controls_, kPort, s->GetPort(kEntry), port);
  if (!dx.Ok()) ShowMessage(std::string_view(dx.Message()));
  // A port out of range comes back as it was.
  if (!dx.Ok() || (port != 0 && !s->SetPort(port, kEntry))) controls_.SetText(kPort, PortFieldText(s->GetPort(kEntry)));
}

void VkcPPRTNServicesModel::Exchange(VkcDataExchange& dx) {
  VkcISConfigController* s = Service();
  dx.Index(kService, service_);
  dx.Check(kAutorun, autorun_);
  dx.Text(kHost, host_);
  ExchangePortField(dx, controls_, kPort, s != nullptr ? s->GetPort(kEntry) : 0, port_);
  dx.Text(kLogin, login_);
  dx.Text(kPassword, password_);
  dx.Text(kMountPoint, mountPoint_);
  dx.Text(kNmea, nmea_);
}

bool VkcPPRTNServicesModel::Store() {
  VkcISConfigController* s = Service();
  // Only a service this page loaded for this unit is written: after a refused refresh the slot
  // still holds an older choice, whose group and the unit's stored kind must not be overwritten.
  if (s == nullptr || !IsFilledUnit() || !HasNetworkServices()) return true;
  s->SetHostName(host_, kEntry);
  s->SetPort(port_, kEntry);
  s->SetLogin(login_, kEntry);
  s->SetPassword(password_, kEntry);
  s->SetMountPoint(mountPoint_, kEntry);
  s->SetNmeaMessage(nmea_, kEntry);
  s->SetAutorun(autorun_, kEntry);
  s->SaveToDevice(kEntry);
  return true;
}
