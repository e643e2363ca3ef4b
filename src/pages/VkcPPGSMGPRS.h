#pragma once
// The GSM/GPRS page ("Configurations"): the Qt view of VkcPPGSMGPRSModel.

#include "app/VkcPage.h"
#include "pages/VkcPPGSMGPRSModel.h"

class VkcPPGSMGPRS : public VkcPage<VkcPPGSMGPRSModel> {
  Q_OBJECT
 public:
  VkcPPGSMGPRS();
};
