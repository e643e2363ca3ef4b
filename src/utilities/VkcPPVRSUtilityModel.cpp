#include "utilities/VkcPPVRSUtilityModel.h"

#include "app/PageHost.h"
#include "devices/VkcDevice.h"
#include "link/Ansi.h"
#include "link/VkcComPort.h"
#include "pages/VkcPPRTNPortField.h"
#include "unit/VkcServiceText.h"
#include "unit/VkcSystem.h"

namespace {
using Ctl = VkcISUtilityController;
}  // namespace

VkcPPVRSUtilityModel::VkcPPVRSUtilityModel() {
  controls_[kService].SetItems({u"TCP client", u"NTRIP client", u"TCP server"});
  for (int id : {kHost, kLogin, kPassword, kMountPoint}) controls_[id].textLimit = 64;
  controls_[kNmea].textLimit = 128;
  for (int id : {kHost, kLogin, kPassword, kMountPoint, kNmea}) controls_.SetCommandText(id);
  for (int id : {kRssi, kState, kError}) {
    controls_.SetReadOnly(id, true);
    controls_.SetText(id, u"N/A");
  }
  controls_.SetText(kConnect, u"Connect");
  controls_.SetCheck(kMonitor, true);
  On(kService, ControlEvent::SelectionChanged, [this] { OnServiceChanged(); });
  On(kMonitor, ControlEvent::Clicked, [this] { OnMonitorClicked(); });
  On(kConnect, ControlEvent::Clicked, [this] { RunConnect(); });
  On(kHost, ControlEvent::FocusLost,
     [this] { OnTextLeft(kHost, &Ctl::SetHostName, &Ctl::GetHostName, "Not valid Host name.\r\n"); });
  On(kLogin, ControlEvent::FocusLost,
     [this] { OnTextLeft(kLogin, &Ctl::SetLogin, &Ctl::GetLogin, "Not valid Login.\r\n"); });
  On(kPassword, ControlEvent::FocusLost,
     [this] { OnTextLeft(kPassword, &Ctl::SetPassword, &Ctl::GetPassword, "Not valid Password.\r\n"); });
  On(kMountPoint, ControlEvent::FocusLost,
     [this] { OnTextLeft(kMountPoint, &Ctl::SetMountPoint, &Ctl::GetMountPoint, "Not valid Mount point.\r\n"); });
  On(kNmea, ControlEvent::FocusLost,
     [this] { OnTextLeft(kNmea, &Ctl::SetNmeaMessage, &Ctl::GetNmeaMessage, "Not valid NMEA GGA message.\r\n"); });
  On(kPort, ControlEvent::FocusLost, [this] { OnPortLeft(); });
}

VkcSystem* VkcPPVRSUtilityModel::Unit() { return HasHost() ? &Host().Unit() : nullptr; }

VkcISUtilityController* VkcPPVRSUtilityModel::Rtn() { return Unit() != nullptr ? Unit()->GetRtnController() : nullptr; }

bool VkcPPVRSUtilityModel::HasNetworkServices() {
  VkcSystem* unit = Unit();
  const VkcDevice* device = unit != nullptr ? unit->GetCurrentDevice() : nullptr;
  return device != nullptr && device->HasFeature(*unit, kNetworkServicesFeature);
}

void VkcPPVRSUtilityModel::Refresh() {
  VkcISUtilityController* rtn = Rtn();
  if (rtn == nullptr) return;
  rtn->SetWindow(window_);
  if (!rtn->IsIdle()) return;  // the running service keeps what it was started with
  const bool ok = rtn->RefreshService();
  if (ok) Fill();
  EnableControls(ok, true);
}

void VkcPPVRSUtilityModel::Fill() {
  VkcISUtilityController* rtn = Rtn();
  controls_.Select(kService, rtn->GetServiceIndex());
  controls_.SetText(kHost, rtn->GetHostName());
  controls_.SetText(kPort, PortFieldText(rtn->GetPort()));
  controls_.SetText(kLogin, rtn->GetLogin());
  controls_.SetText(kPassword, rtn->GetPassword());
  controls_.SetText(kMountPoint, rtn->GetMountPoint());
  controls_.SetText(kNmea, rtn->GetNmeaMessage());
  const VkcDevice* device = Unit()->GetCurrentDevice();
  if (device != nullptr && device->IsGsmModel()) {
    int count = 0;
    const char16_t* const* names = device->GetRouteNames(count);
    std::vector<std::u16string> entries;
    for (int i = 0; i < count; ++i) entries.emplace_back(names[i]);
    controls_[kRouting].SetItems(std::move(entries));
    const int selection = rtn->GetRouting() - 1;
    controls_.Select(kRouting, selection >= 0 && selection < count ? selection : -1);
  }
}

void VkcPPVRSUtilityModel::EnableControls(bool enable, bool all) {
  VkcISUtilityController* rtn = Rtn();
  for (int id : {kService, kPort, kLogin, kPassword, kRouting, kHost}) controls_.Enable(id, enable);
  controls_.SetReadOnly(kHost, rtn == nullptr || !rtn->UsesHostName());
  const bool mountPoint = enable && rtn != nullptr && rtn->UsesMountPoint();
  controls_.Enable(kMountPoint, mountPoint);
  controls_.Enable(kNmea, mountPoint);
  if (!all) return;
  controls_.Enable(kConnect, enable);
  controls_.Enable(kMonitor, enable);
  for (int id : {kRssi, kState, kError}) controls_.Enable(id, enable);
}

void VkcPPVRSUtilityModel::Exchange(VkcDataExchange& dx) {
  VkcISUtilityController* rtn = Rtn();
  dx.Index(kService, service_);
  dx.Text(kHost, 64, host_);
  ExchangePortField(dx, controls_, kPort, rtn != nullptr ? rtn->GetPort() : 0, port_);
  dx.Text(kLogin, 64, login_);
  dx.Text(kPassword, 64, password_);
  dx.Text(kMountPoint, 64, mountPoint_);
  dx.Text(kNmea, 128, nmea_);
  dx.Index(kRouting, routing_);
}

bool VkcPPVRSUtilityModel::Store() {
  VkcISUtilityController* rtn = Rtn();
  if (rtn == nullptr || !HasNetworkServices() || !rtn->IsIdle()) return true;
  rtn->SetHostName(host_);
  rtn->SetPort(port_);
  rtn->SetLogin(login_);
  rtn->SetPassword(password_);
  rtn->SetMountPoint(mountPoint_);
  rtn->SetNmeaMessage(nmea_);
  rtn->SetRouting(routing_ + 1);
  if (service_ >= 0) rtn->SelectService(service_);
  return true;
}

void VkcPPVRSUtilityModel::OnServiceChanged() {
  VkcISUtilityController* rtn = Rtn();
  if (rtn == nullptr) return;
  const int chosen = controls_.Selection(kService);
  // The fields go to the service shown so far.
  if (!TakeValues()) {
    controls_.Select(kService, rtn->GetServiceIndex());
    return;
  }
  service_ = rtn->GetServiceIndex();
  Store();
  rtn->SelectService(chosen);
  Fill();
  EnableControls(true, false);
}

void VkcPPVRSUtilityModel::OnMonitorClicked() {
  VkcISUtilityController* rtn = Rtn();
  const bool on = controls_.Checked(kMonitor);
  for (int id : {kRssi, kState, kError}) controls_.Enable(id, on);
  if (rtn != nullptr) rtn->SetMonitoring(on);
}

void VkcPPVRSUtilityModel::OnTextLeft(int id, bool (VkcISUtilityController::*set)(const std::u16string&),
                                      std::u16string (VkcISUtilityController::*get)() const, const char* message) {
  VkcISUtilityController* rtn = Rtn();
  if (rtn == nullptr || !rtn->IsIdle()) return;
  if ((rtn->*set)(controls_.Text(id))) return;
  ShowMessage(std::string_view(message));
  controls_.SetText(id, (rtn->*get)());
}

void VkcPPVRSUtilityModel::OnPortLeft() {
  VkcISUtilityController* rtn = Rtn();
  if (rtn == nullptr || !rtn->IsIdle()) return;
  int64_t port = 0;
  const std::u16string text = controls_.Text(kPort);
  if (text.empty() && rtn->GetPort() <= 0) return;
  // A refused port comes back as it was, without a message.
  if (!VkcDataExchange::ParseInt(text, port) || port < 1 || port > 65535 || !rtn->SetPort(static_cast<int>(port))) {
    controls_.SetText(kPort, PortFieldText(rtn->GetPort()));
  }
}

void VkcPPVRSUtilityModel::RunConnect() {
  VkcISUtilityController* rtn = Rtn();
  VkcSystem* unit = Unit();
  if (rtn == nullptr || unit == nullptr) return;
  rtn->SetWindow(window_);
  const bool connect = rtn->IsIdle();
  if (connect) {
    if (!Apply()) return;
    // Values that would break the unit's command line are not sent.
    const std::string invalid = rtn->CheckServiceValues();
    if (!invalid.empty()) {
      ShowMessage(std::string_view(invalid));
      return;
    }
  }
  // A disconnect lets the monitor end first; operation 6 waits for it.
  if (rtn->IsMonitorRunning()) rtn->RequestMonitorStop();
  // The lock stays with this page while the service runs; otherwise it is taken here.
  if (!holdsLock_) {
    VkcComPort* port = unit->GetCurrentPort();
    if (port == nullptr || !port->IsOpen()) {
      ShowMessage(std::string_view("Communication port is not open"));
      return;
    }
    if (!Host().LockProcess(this)) {
      ShowMessage(std::string_view("Unable to run process.\nAnother process is running"));
      return;
    }
    holdsLock_ = true;
  }
  rtn->SetMonitoring(controls_.Checked(kMonitor));
  ProgressOptions options{connect ? u"RTN Connecting" : u"RTN Disconnecting", true, false};
  const ProgressRun run =
      Host().RunProgress({{Host().UnitTarget(), VkcSystem::kOpRtnService, connect ? 1 : 0}}, options);
  Conclude(rtn->ReportResult(static_cast<int>(run.result), run.stopped));
}

void VkcPPVRSUtilityModel::Conclude(const VkcISUtilityController::Report& report) {
  for (const std::string& message : report.messages) ShowMessage(std::string_view(message));
  if (report.release && holdsLock_) {
    Host().UnlockProcess(this);
    holdsLock_ = false;
  }
}

void VkcPPVRSUtilityModel::ShowStatus(bool reset) {
  VkcISUtilityController* rtn = Rtn();
  const RtnStatusRecord status = rtn->GetStatus();
  controls_.SetText(kRssi, reset ? u"N/A" : status.rssi);
  controls_.SetText(kState, reset ? u"N/A" : status.state);
  controls_.SetText(kError, reset ? u"N/A" : status.error);
  controls_.SetText(kHost, rtn->GetHostName());
}

void VkcPPVRSUtilityModel::OnUtilityMessage(intptr_t notice, intptr_t value) {
  VkcISUtilityController* rtn = Rtn();
  if (rtn == nullptr) return;
  switch (notice) {
    case Ctl::kNoticeEnded:
      Conclude(rtn->ReportMonitorResult(static_cast<int>(value)));
      break;
    case Ctl::kNoticeStatus:
      ShowStatus(false);
      break;
    case Ctl::kNoticeStopped:
      controls_.SetText(kConnect, u"Connect");
      EnableControls(true, false);
      ShowStatus(true);
      break;
    case Ctl::kNoticeRunning:
      controls_.SetText(kConnect, u"Disconnect");
      EnableControls(false, false);
      break;
    case Ctl::kNoticePaused:
      ShowStatus(true);
      break;
    default:
      break;
  }
}
