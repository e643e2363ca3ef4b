#pragma once
// The Advanced Wireless Interface page ("Configurations"): the Qt view of VkcPPAdvancedWirelessModel.

#include "app/VkcPage.h"
#include "pages/VkcPPAdvancedWirelessModel.h"

class VkcPPAdvancedWireless : public VkcPage<VkcPPAdvancedWirelessModel> {
  Q_OBJECT
 public:
  VkcPPAdvancedWireless();
};
