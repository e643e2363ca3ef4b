// The RTN utility's service selection, the forwarders to the service settings and what each
// result brings on the user-interface thread.

#include "unit/VkcISUtilityController.h"

#include "devices/VkcDevice.h"
#include "link/VkcComPort.h"
#include "link/VkcMessageIds.h"
#include "unit/VkcISConfigController.h"
#include "unit/VkcServiceText.h"
#include "unit/VkcSystem.h"

namespace {

constexpr int kEntry = 1;  // the utility's entry of the service controllers
constexpr int kSlot = 1;   // the utility's service slot

}  // namespace

platform::Event& UtilityFinishedEvent() {
  static platform::Event event(platform::Event::ResetMode::Manual);
  return event;
}

VkcISUtilityController::VkcISUtilityController(VkcSystem& system) : system_(system) {}

VkcISUtilityController::~VkcISUtilityController() {
  monitor_.Stop();
  VkcComPort* port = system_.GetCurrentPort();
  if (port != nullptr) port->RemoveListener(this);
}

VkcISConfigController* VkcISUtilityController::Service() const { return system_.GetConfigController(kSlot); }

// --- Forwarders ---

bool VkcISUtilityController::SetHostName(const std::u16string& text) {
  VkcISConfigController* s = Service();
  return s != nullptr && s->SetHostName(text, kEntry);
}
std::u16string VkcISUtilityController::GetHostName() const {
  VkcISConfigController* s = Service();
  return s != nullptr ? s->GetHostName(kEntry) : std::u16string();
}
bool VkcISUtilityController::SetPort(int port) {
  VkcISConfigController* s = Service();
  return s != nullptr && s->SetPort(port, kEntry);
}
int VkcISUtilityController::GetPort() const {
  VkcISConfigController* s = Service();
  return s != nullptr ? s->GetPort(kEntry) : 1;
}
bool VkcISUtilityController::SetLogin(const std::u16string& text) {
  VkcISConfigController* s = Service();
  return s != nullptr && s->SetLogin(text, kEntry);
}
std::u16string VkcISUtilityController::GetLogin() const {
  VkcISConfigController* s = Service();
  return s != nullptr ? s->GetLogin(kEntry) : std::u16string();
}
bool VkcISUtilityController::SetPassword(const std::u16string& text) {
  VkcISConfigController* s = Service();
  return s != nullptr && s->SetPassword(text, kEntry);
}
std::u16string VkcISUtilityController::GetPassword() const {
  VkcISConfigController* s = Service();
  return s != nullptr ? s->GetPassword(kEntry) : std::u16string();
}
bool VkcISUtilityController::SetMountPoint(const std::u16string& text) {
  VkcISConfigController* s = Service();
  return s != nullptr && s->SetMountPoint(text, kEntry);
}
std::u16string VkcISUtilityController::GetMountPoint() const {
  VkcISConfigController* s = Service();
  return s != nullptr ? s->GetMountPoint(kEntry) : std::u16string();
}
bool VkcISUtilityController::SetNmeaMessage(const std::u16string& text) {
  VkcISConfigController* s = Service();
  return s != nullptr && s->SetNmeaMessage(text, kEntry);
}
std::u16string VkcISUtilityController::GetNmeaMessage() const {
  VkcISConfigController* s = Service();
  return s != nullptr ? s->GetNmeaMessage(kEntry) : std::u16string();
}
bool VkcISUtilityController::SetRouting(int routing) {
  VkcISConfigController* s = Service();
  return s != nullptr && s->SetRouting(routing, kEntry);
}
int VkcISUtilityController::GetRouting() const {
  VkcISConfigController* s = Service();
  return s != nullptr ? s->GetRouting(kEntry) : 0;
}
bool VkcISUtilityController::UsesHostName() const {
  VkcISConfigController* s = Service();
  return s != nullptr && s->UsesHostName();
}
bool VkcISUtilityController::UsesMountPoint() const {
  VkcISConfigController* s = Service();
  return s != nullptr && s->UsesMountPoint();
}

// --- Service ---

void VkcISUtilityController::SelectService(int index) {
  if (system_.SelectConfigController(index, kSlot)) serviceIndex_.store(index);
}

bool VkcISUtilityController::RefreshService() {
  const VkcDevice* device = system_.GetCurrentDevice();
  if (device == nullptr || system_.GetProductId() <= 0 || !device->HasFeature(system_, kNetworkServicesFeature)) {
    return false;
  }
  // Entry 1 holds what the user typed for this unit; another unit starts again from its image, so
  // one unit's password never goes to the next. The unit is told by the serial number its
  // identification read: identifying the same unit again (Identify, the restart after a send or
  // a firmware load) keeps what was typed, and so does a factory file, which replaces the serial
  // number only in the images. A unit whose serial number could not be read is taken as another
  // one at each identification.
  const UnitId serial = system_.GetIdentifiedSerial();
  const uint32_t identification = system_.GetIdentification();
  const bool anotherUnit =
      serial != refreshedSerial_ || (serial == UnitId() && identification != refreshedIdentification_);
  if (firstRefresh_ || anotherUnit) {
    for (int kind : {0, 1, 2, -2}) {
      if (system_.SelectConfigController(kind, kSlot)) Service()->LoadFromDevice(kEntry);
    }
    serviceIndex_.store(Service() != nullptr ? Service()->GetState(kEntry) : 0);
    firstRefresh_ = false;
    refreshedSerial_ = serial;
    refreshedIdentification_ = identification;
  } else {
    system_.SelectConfigController(serviceIndex_.load(), kSlot);
  }
  return true;
}

std::string VkcISUtilityController::CheckServiceValues() const {
  VkcISConfigController* s = Service();
  if (s == nullptr) return {};
  auto broken = [](const std::u16string& text) {
    for (char16_t c : text) {
      if (c < 0x20 || c == 0x7F) return true;
    }
    return false;
  };
  if (s->UsesHostName() && broken(s->GetHostName(kEntry))) return "Not valid Host name.\r\n";
  if (broken(s->GetLogin(kEntry))) return "Not valid Login.\r\n";
  if (broken(s->GetPassword(kEntry))) return "Not valid Password.\r\n";
  if (s->UsesMountPoint() && broken(s->GetMountPoint(kEntry))) return "Not valid Mount point.\r\n";
  if (s->UsesMountPoint() && broken(s->GetNmeaMessage(kEntry))) return "Not valid NMEA GGA message.\r\n";
  return {};
}

void VkcISUtilityController::RequestMonitorStop() { monitor_.RequestStop(); }

// --- Results ---

VkcISUtilityController::Report VkcISUtilityController::ReportResult(int result, bool stopped) {
  Report report;
  bool queried = false;
  {
    std::lock_guard<std::mutex> g(statusMutex_);
    if (!pendingMessage_.empty()) report.messages.push_back(std::move(pendingMessage_));
    pendingMessage_.clear();
    queried = statusAfterFailure_;
    statusAfterFailure_ = false;
  }
  const bool connecting = connectNext_.load();
  // A user stop changed nothing the program knows of: the service keeps its state.
  if (stopped) {
    report.release = true;
    return report;
  }
  report.release = true;
  switch (result) {
    case kResultNoResponse:
      report.messages.push_back("No Response from the unit");
      break;
    case kResultOk:
      if (connecting) {
        Post(kNoticeRunning);
        connectNext_.store(false);
        StartMonitor();
        report.release = false;  // held while the service runs
      } else {
        if (serviceIndex_.load() == VkcISConfigController::kTcpServer && Service() != nullptr) {
          Service()->SetHostName(std::u16string(), kEntry);
        }
        Post(kNoticeStopped);
        monitor_.StopEvent().Reset();
        UtilityFinishedEvent().Reset();
        connectNext_.store(true);
      }
      break;
    case 1:
    case 2:
      report.messages.push_back("Incorrect command sent to unit");
      break;
    case kResultMonitorFailed:
      report.messages.push_back("Monitoring process failed!");
      break;
    case kResultCouldNot:
      report.messages.push_back(connecting ? "RTN service could not connect" : "RTN service could not disconnect");
      if (queried) {
        Post(kNoticeStatus);
      } else {
        report.messages.push_back("Could not connect RTN service");
      }
      break;
    default:
      // Codes the unit has no text for: the service state did not change as asked.
      report.messages.push_back(connecting ? "RTN service could not connect" : "RTN service could not disconnect");
      break;
  }
  return report;
}

VkcISUtilityController::Report VkcISUtilityController::ReportMonitorResult(int result) {
  Report report;
  if (result == kResultMonitorFailed) {
    report.messages.push_back("Monitoring process failed!");
    report.release = true;
  }
  return report;
}

// --- Status ---

void VkcISUtilityController::SetMonitoring(bool on) {
  monitoring_.store(on);
  dataModeRestored_.store(false);
}

RtnStatusRecord VkcISUtilityController::GetStatus() const {
  std::lock_guard<std::mutex> g(statusMutex_);
  RtnStatusRecord record = status_;
  record.serviceIndex = serviceIndex_.load();
  record.monitoring = monitoring_.load();
  return record;
}

void VkcISUtilityController::ResetStatus() {
  std::lock_guard<std::mutex> g(statusMutex_);
  status_.rssi = status_.state = status_.error = u"N/A";
}

void VkcISUtilityController::Post(intptr_t notice, intptr_t value) const {
  platform::WindowHandle window = window_.load();
  if (window != platform::kNoWindow) platform::PostMessage(window, kMsgRtnUtility, notice, value);
}

void VkcISUtilityController::PostProgress(intptr_t kind, intptr_t value) const {
  platform::WindowHandle window = progressWindow_.load();
  if (window != platform::kNoWindow) platform::PostMessage(window, kMsgProgress, kind, value);
}
