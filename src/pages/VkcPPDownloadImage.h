#pragma once
// The Download Firmware page (Utilities): the Qt view of VkcPPDownloadImageModel. The download
// engine posts 2024 to this page's window handle.

#include <memory>

#include "app/VkcPage.h"
#include "pages/VkcPPDownloadImageModel.h"

namespace platform::qt {
class WindowMessages;
}

class VkcPPDownloadImage : public VkcPage<VkcPPDownloadImageModel> {
  Q_OBJECT
 public:
  explicit VkcPPDownloadImage(ModulinkApp& app);
  ~VkcPPDownloadImage() override;
  platform::WindowHandle Handle() const;

 private:
  std::unique_ptr<platform::qt::WindowMessages> messages_;
};
