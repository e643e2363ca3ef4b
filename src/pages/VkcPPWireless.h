#pragma once
// The Wireless Interface page ("Configurations"): the Qt view of VkcPPWirelessModel.

#include "app/VkcPage.h"
#include "pages/VkcPPWirelessModel.h"

class VkcPPWireless : public VkcPage<VkcPPWirelessModel> {
  Q_OBJECT
 public:
  VkcPPWireless();
};
