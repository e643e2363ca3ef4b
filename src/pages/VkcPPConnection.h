#pragma once
// The Connection page ("Preferences"): the Qt view of VkcPPConnectionModel. The ports post their
// status (1044) to this page's window handle.

#include <memory>

#include "app/VkcPage.h"
#include "pages/VkcPPConnectionModel.h"

namespace platform::qt {
class WindowMessages;
}

class VkcPPConnection : public VkcPage<VkcPPConnectionModel> {
  Q_OBJECT
 public:
  VkcPPConnection(ModulinkApp& app, VkcDeviceManager& devices);
  ~VkcPPConnection() override;

  VkcPPConnectionModel& Model() { return GetModel(); }
  platform::WindowHandle Handle() const;

 private:
  std::unique_ptr<platform::qt::WindowMessages> messages_;
};
