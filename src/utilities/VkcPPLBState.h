#pragma once
// The L-band Status page ("Utilities"): the Qt view of VkcPPLBStateModel. The status poll posts
// its texts (1041) to this page's window handle.

#include <memory>

#include "app/VkcPage.h"
#include "utilities/VkcPPLBStateModel.h"

namespace platform::qt {
class WindowMessages;
}

class VkcPPLBState : public VkcPage<VkcPPLBStateModel> {
  Q_OBJECT
 public:
  VkcPPLBState();
  ~VkcPPLBState() override;
  platform::WindowHandle Handle() const;

 private:
  std::unique_ptr<platform::qt::WindowMessages> messages_;
};
