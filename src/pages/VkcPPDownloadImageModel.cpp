#include "pages/VkcPPDownloadImageModel.h"

#include "app/ModulinkApp.h"
#include "app/PageHost.h"
#include "devices/VkcDeviceManager.h"
#include "link/CfgNode.h"
#include "link/Utf.h"
#include "link/VkcComPort.h"
#include "link/VkcLogMessage.h"
#include "link/VkcMessageIds.h"
#include "platform/qt/MessageBox.h"
#include "unit/VkcFirmwareDownload.h"
#include "unit/VkcSystem.h"

namespace {
constexpr const char* kSection = "Image";
constexpr const char* kKey = "File Name";
}  // namespace

VkcPPDownloadImageModel::VkcPPDownloadImageModel(ModulinkApp& app) : app_(app) {
  controls_[kTarget].SetItems({u"RADIO", u"MCU"});
  controls_.Select(kTarget, 0);
  controls_[kProgress].range = ControlRange{0, 100};
  controls_.SetText(kDownload, u"Download");
  On(kDownload, ControlEvent::Clicked, [this] { OnDownload(); });
  On(kBrowse, ControlEvent::Clicked, [this] { OnBrowse(); });
  On(kFileName, ControlEvent::TextEdited, [this] { OnFileNameChanged(); });
  On(kTarget, ControlEvent::SelectionChanged, [this] { TakeValues(); });
}

VkcPPDownloadImageModel::~VkcPPDownloadImageModel() = default;

bool VkcPPDownloadImageModel::IsRunning() const { return engine_ && engine_->IsRunning(); }

void VkcPPDownloadImageModel::Exchange(VkcDataExchange& dx) {
  dx.Text(kFileName, fileName_);
  dx.Index(kTarget, target_);
}

void VkcPPDownloadImageModel::Refresh() {
  controls_.SetText(kFileName, fileName_);
  controls_.Select(kTarget, target_);
  if (IsRunning()) return;  // the running download keeps its controls
  const bool withDevice = HasHost() && Host().Unit().GetCurrentDevice() != nullptr;
  controls_.Enable(kFileName, withDevice);
  controls_.Enable(kBrowse, withDevice);
  controls_.Enable(kDownload, !fileName_.empty());
}

void VkcPPDownloadImageModel::OnFileNameChanged() {
  TakeValues();
  // While a download runs the button is Stop: emptying the name must not take it away.
  if (!IsRunning()) controls_.Enable(kDownload, !fileName_.empty());
}

void VkcPPDownloadImageModel::OnBrowse() {
  TakeValues();
  if (!chooser_) return;
  CfgNode& stored = app_.Setting(kSection, kKey);
  const std::u16string start = fileName_.empty() ? Utf8ToUtf16(stored.GetString()) : fileName_;
  const std::u16string chosen = chooser_(start);
  if (chosen.empty()) return;
  fileName_ = chosen;
  stored.SetString(Utf16ToUtf8(chosen));
  if (!IsRunning()) controls_.Enable(kDownload, !fileName_.empty());
  controls_.SetText(kFileName, fileName_);
}

void VkcPPDownloadImageModel::ShowIdle() {
  controls_.SetText(kDownload, u"Download");
  controls_.Enable(kDownload, true);
  controls_.SetValue(kProgress, 0);
  const bool withDevice = Host().Unit().GetCurrentDevice() != nullptr;
  controls_.Enable(kFileName, withDevice);
  controls_.Enable(kBrowse, withDevice);
}

void VkcPPDownloadImageModel::OnDownload() {
  if (!HasHost()) return;
  if (IsRunning()) {
    controls_.Enable(kDownload, false);
    engine_->RequestStop();
    return;
  }
  PageHost& host = Host();
  VkcComPort* port = app_.CurrentPort();
  if (port == nullptr || !port->IsOpen()) {
    ShowMessage("Communication port is not open");
    return;
  }
  if (!host.LockProcess(this)) {
    ShowMessage("Unable to upgrade image.\nAnother process is running");
    return;
  }
  TakeValues();
  app_.Setting(kSection, kKey).SetString(Utf16ToUtf8(fileName_));
  if (!engine_) engine_ = std::make_unique<VkcFirmwareDownload>(host.Unit(), &host.Devices());
  std::string fileError;
  if (!engine_->ReadImageFile(Utf16ToUtf8(fileName_), &fileError)) {
    if (!fileError.empty()) ShowMessage(fileError);
    ShowMessage("Invalid Image file selected");
    host.UnlockProcess(this);
    return;
  }
  // The interface identification tries first; unset, the sweep's own order.
  VkcDeviceInterface* iface = nullptr;
  if (const CfgNode* section = app_.Settings().Root().FindChild(std::string_view("Serial Interface")))
    if (const CfgNode* node = section->FindChild(std::string_view("Interface")))
      iface = host.Devices().GetInterface(node->GetInt());
  if (!engine_->Start(window_, iface)) {
    // Nothing ran: the lock goes back and the page stays usable.
    ShowMessage("Unable to start Thread");
    host.UnlockProcess(this);
    return;
  }
  controls_.SetText(kLog, u"");
  controls_.SetValue(kProgress, 0);
  controls_.SetText(kDownload, u"Stop");
}

void VkcPPDownloadImageModel::OnProgressMessage(intptr_t wParam, intptr_t lParam) {
  if (wParam == kProgressPercent) {
    controls_.SetValue(kProgress, static_cast<int>(lParam));
  } else if (wParam == kProgressMailbox) {
    auto* log = reinterpret_cast<VkcLogMessage*>(lParam);
    if (log != nullptr) controls_.SetText(kLog, controls_.Text(kLog) + log->TakeText());
  } else if (wParam == kProgressDownloadEnd) {
    if (!engine_ || !HasHost()) return;
    engine_->Finish();
    ShowIdle();
    if (lParam == VkcFirmwareDownload::kEndOk)
      ShowMessage("Image successfully upgraded", platform::qt::kMbIconInformation);
    else if (lParam == VkcFirmwareDownload::kEndNoCommandMode)
      ShowMessage("Unable to communicate with unit");
    else
      ShowMessage("Firmware upgrading error or incompatible firmware tried to download!", 0, true);
    PageHost& host = Host();
    if (!host.UnlockProcess(this)) ShowMessage("Unable to unlock");
    host.RefreshAllPages();
  }
}
