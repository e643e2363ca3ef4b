#pragma once
// The Modem page ("Configurations"): the Qt view of VkcPPModemModel.

#include "app/VkcPage.h"
#include "pages/VkcPPModemModel.h"

class VkcPPModem : public VkcPage<VkcPPModemModel> {
  Q_OBJECT
 public:
  VkcPPModem();
};
