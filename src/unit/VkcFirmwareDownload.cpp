#include "unit/VkcFirmwareDownload.h"

#include "devices/VkcDeviceManager.h"
#include "devices/VkcMCUController.h"
#include "link/VkcMessageIds.h"
#include "unit/VkcFirmwareImageFile.h"
#include "unit/VkcSystem.h"

VkcFirmwareDownload::VkcFirmwareDownload(VkcSystem& system, VkcDeviceManager* manager)
    : system_(system), manager_(manager) {}

VkcFirmwareDownload::~VkcFirmwareDownload() { worker_.Stop(); }

bool VkcFirmwareDownload::ReadImageFile(const std::string& path, std::string* error) {
  if (running_) return false;
  return firmwarefile::ReadImageFile(path, images_, error);
}

bool VkcFirmwareDownload::Start(platform::WindowHandle window, VkcDeviceInterface* iface) {
  if (running_ || worker_.IsRunning()) return false;
  worker_.Join();  // an ended download that was not finished
  window_ = window;
  iface_ = iface;
  states_.clear();
  plan_.clear();
  index_ = 0;
  running_ = worker_.Start([this](platform::Event& stop) { Run(stop); });
  return running_;
}

void VkcFirmwareDownload::Finish() {
  worker_.Join();
  running_ = false;
}

intptr_t VkcFirmwareDownload::Prepare(platform::Event& stop) {
  VkcComPort* port = system_.GetCurrentPort();
  if (manager_ != nullptr) manager_->GetMCUController().RefreshRoute(port);
  // A Stop while the unit is brought to its command line is the user's stop, not a lost unit.
  if (stop.IsSet()) return kEndFailed;
  if (!system_.SwitchToCommandMode(true)) return stop.IsSet() ? kEndFailed : kEndNoCommandMode;

  const bool startup = DownloadStartupFlag(system_.GetProductId(), system_.GetSoftwareVersion());
  VkcDownloadInputs in;
  in.hasMain = images_.HasMain();
  in.extras = images_.extraImages.size();
  in.multi = images_.multiImage != 0;
  in.startup = startup;
  in.unitHasMainImage = system_.HasMainImage();
  if (in.hasMain && in.multi && startup) {
    std::string value;
    int code = system_.QueryRadio("@CRCID\r", value, &stop);
    in.crcMatches = DownloadCrcIdMatches(code, value, images_.crcId);
  }
  if (stop.IsSet()) return kEndFailed;
  plan_ = BuildDownloadPlan(in);

  context_.reset(new VkcDownloadContext{system_, loader_, images_, window_, stop, iface_});
  for (const VkcDownloadStep& step : plan_) {
    switch (step.kind) {
      case VkcDownloadStep::kLoad:
        states_.push_back(std::make_unique<VkcDownloadStateLoad>(*context_, step.index, step.word));
        break;
      case VkcDownloadStep::kWaitRbt:
        states_.push_back(std::make_unique<VkcDownloadStateWaitRbt>(*context_));
        break;
      case VkcDownloadStep::kSysInit:
        states_.push_back(std::make_unique<VkcDownloadStateSysInit>(*context_));
        break;
      case VkcDownloadStep::kReboot:
        states_.push_back(std::make_unique<VkcDownloadStateReboot>(*context_, step.mainImage, step.bootImage));
        break;
    }
  }
  // A Stop between steps is seen before the next one starts talking to the unit.
  while (index_ < states_.size() && !stop.IsSet() && states_[index_]->Execute()) ++index_;
  return index_ == states_.size() ? kEndOk : kEndFailed;
}

void VkcFirmwareDownload::Run(platform::Event& stop) {
  intptr_t result = Prepare(stop);
  if (manager_ != nullptr) manager_->GetMCUController().ApplyStoredRoute(system_.GetCurrentPort());
  if (window_ != platform::kNoWindow) platform::PostMessage(window_, kMsgProgress, kProgressDownloadEnd, result);
}
