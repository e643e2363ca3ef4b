#include "unit/VkcDownloadState.h"

#include "link/FirmwareImage.h"
#include "link/VkcComPort.h"
#include "link/VkcConnectionInterface.h"
#include "link/VkcLoader.h"
#include "link/VkcMessageIds.h"
#include "unit/VkcSystem.h"

bool VkcDownloadStateLoad::Execute() {
  const FirmwareImage& images = context_.images;
  const ImageBuffer* image = nullptr;
  if (index_ == -1)
    image = &images.mainImage;
  else if (index_ >= 0 && static_cast<size_t>(index_) < images.extraImages.size())
    image = &images.extraImages[static_cast<size_t>(index_)];
  if (image == nullptr || image->IsEmpty()) return false;
  VkcComPort* port = context_.system.GetCurrentPort();
  if (port == nullptr) return false;

  VkcLoader& loader = context_.loader;
  loader.SetPort(port);
  loader.SetOwnerWindow(context_.window);
  loader.SetCancelEvent(&context_.stop);
  loader.SetProgressLog(&log_);
  loader.SetExpectedReplies(1, "File Successfully Written\r\n", "\r\n");
  loader.SetImage(image->GetData(), image->GetSize(), true);
  if (!loader.StartSendImage(word_, true)) return false;
  return loader.GetResult() == 0;
}

bool VkcDownloadStateWaitRbt::Execute() {
  VkcComPort* port = context_.system.GetCurrentPort();
  if (port == nullptr) return false;
  VkcConnectionInterface channel(port);
  return channel.WaitForReplies(kWaitMs, 100, 100, context_.window, &context_.stop, 1, "Real Time", "\r\n");
}

bool VkcDownloadStateSysInit::Execute() {
  log_.Append("\r\nIdentifying System\r\n");
  if (context_.window != platform::kNoWindow)
    platform::PostMessage(context_.window, kMsgProgress, kProgressMailbox, reinterpret_cast<intptr_t>(&log_));
  return context_.system.Process(VkcSystem::kOpIdentify, reinterpret_cast<intptr_t>(context_.iface),
                                 context_.window, context_.stop) == VkcSystem::kResultOk;
}

bool VkcDownloadStateReboot::Execute() {
  return context_.system.Reboot(bootImage_, context_.window, &context_.stop, mainImage_);
}
