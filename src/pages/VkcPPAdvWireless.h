#pragma once
// The Advanced Wireless Interface page ("Configurations"): the Qt view of VkcPPAdvWirelessModel.

#include "app/VkcPage.h"
#include "pages/VkcPPAdvWirelessModel.h"

class VkcPPAdvWireless : public VkcPage<VkcPPAdvWirelessModel> {
  Q_OBJECT
 public:
  VkcPPAdvWireless();
};
