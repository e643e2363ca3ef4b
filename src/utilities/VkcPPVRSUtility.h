#pragma once
// The RTN utility page ("Utilities"): the Qt view of VkcPPVRSUtilityModel. The RTN controller
// posts its notices (1042) to this page's window handle.

#include <memory>

#include "app/VkcPage.h"
#include "utilities/VkcPPVRSUtilityModel.h"

namespace platform::qt {
class WindowMessages;
}

class VkcPPVRSUtility : public VkcPage<VkcPPVRSUtilityModel> {
  Q_OBJECT
 public:
  VkcPPVRSUtility();
  ~VkcPPVRSUtility() override;

  platform::WindowHandle Handle() const;

 private:
  std::unique_ptr<platform::qt::WindowMessages> messages_;
};
