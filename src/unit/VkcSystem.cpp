#include "unit/VkcSystem.h"

#include "devices/VkcCommandExchange.h"
#include "devices/VkcDevice.h"
#include "link/VkcComPort.h"
#include "link/VkcMessageIds.h"
#include "unit/VkcServiceInstall.h"

VkcSystem::VkcSystem() { InstallNetworkServices(*this); }
// The RTN monitor reads the service controllers and the port, and the spectrum and almanac
// workers fill their data: each ends before what it uses goes.
VkcSystem::~VkcSystem() {
  rtn_.reset();
  spectrum_.reset();
  almanac_.reset();
}

void VkcSystem::Attach(VkcDeviceManager* manager, const VkcConfiguration* appSettings,
                       std::function<VkcComPort*()> currentPort) {
  manager_ = manager;
  appSettings_ = appSettings;
  currentPort_ = std::move(currentPort);
}

VkcComPort* VkcSystem::GetCurrentPort() const { return currentPort_ ? currentPort_() : nullptr; }

uint32_t VkcSystem::GetCommandTimeout() const {
  VkcComPort* port = GetCurrentPort();
  return port != nullptr ? port->GetReplyTimeout() : 0;
}

uint32_t VkcSystem::GetLongTimeout() const {
  VkcComPort* port = GetCurrentPort();
  return port != nullptr ? port->GetLongTimeout() : 0;
}

bool VkcSystem::Exchange(const std::string& command, std::string* reply, size_t replySize, uint32_t timeoutMs,
                         platform::Event* stop, uint32_t mode, std::initializer_list<const char*> expected) {
  VkcExchange exchange;
  exchange.command = command.empty() ? nullptr : command.c_str();
  exchange.timeoutMs = timeoutMs;
  exchange.extra = stop;
  exchange.match = static_cast<VkcExchange::Match>(mode);
  exchange.replySize = reply != nullptr ? replySize : 0;
  bool ok = exchange.Run(GetCurrentPort(), expected);
  if (reply != nullptr) *reply = std::move(exchange.reply);
  return ok;
}

void VkcSystem::LogLine(platform::WindowHandle window, const char* text) {
  if (window == platform::kNoWindow) return;
  log_.Append(text);
  platform::PostMessage(window, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&log_));
}

// --- The unit ---

int VkcSystem::GetProductId() const { return GetCurrentDevice() != nullptr ? GetCurrentDevice()->GetModelId() : kNoProduct; }

std::u16string VkcSystem::GetProductName() const {
  return GetCurrentDevice() != nullptr ? GetCurrentDevice()->GetName() : u"N/A";
}

uint32_t VkcSystem::GetBandLimit(int n) {
  return GetCurrentDevice() != nullptr ? GetCurrentDevice()->GetPresetFrequency(n, this) : 0;
}

// --- Network-service controllers ---

bool VkcSystem::SelectConfigController(int kind, int slot) {
  if (slot < 0 || slot > 1) return false;
  if (kind == -2) {
    kind = ReadInt(VkcNodes::kServiceKind);
  }
  switch (kind) {
    case 0: slots_[slot] = tcpClient_.get(); return true;
    case 1: slots_[slot] = ntripClient_.get(); return true;
    case 2: slots_[slot] = tcpServer_.get(); return true;
    default: return false;
  }
}

VkcISConfigController* VkcSystem::GetConfigController(int slot) const {
  return slot >= 0 && slot <= 1 ? slots_[slot] : nullptr;
}

void VkcSystem::SetServiceControllers(VkcOwned<VkcISConfigController> tcpClient,
                                      VkcOwned<VkcISConfigController> ntripClient,
                                      VkcOwned<VkcISConfigController> tcpServer) {
  tcpClient_ = std::move(tcpClient);
  ntripClient_ = std::move(ntripClient);
  tcpServer_ = std::move(tcpServer);
  slots_[0] = tcpClient_.get();
  slots_[1] = ntripClient_.get();
}

void VkcSystem::SetGsmGprsController(VkcOwned<VkcGSMGPRSConfigController> controller) {
  gsmGprs_ = std::move(controller);
}

void VkcSystem::SetRtnController(VkcOwned<VkcISUtilityController> controller,
                                 std::function<uint32_t(bool, platform::WindowHandle, platform::Event&)> run) {
  rtn_ = std::move(controller);
  runRtn_ = std::move(run);
}

void VkcSystem::SetSpectrum(VkcOwned<VkcSpectrumUtilityController> controller, VkcOwned<SpectrumScanData> data) {
  spectrum_ = std::move(controller);
  spectrumData_ = std::move(data);
}

void VkcSystem::SetAlmanac(VkcOwned<VkcAlmanacUtilityController> controller, VkcOwned<AlmanacSeriesStore> store) {
  almanac_ = std::move(controller);
  almanacStore_ = std::move(store);
}
