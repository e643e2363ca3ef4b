#pragma once
// The "Dealer Configuration" page: the Qt view of VkcPPDealerModel.

#include "app/VkcPage.h"
#include "pages/VkcPPDealerModel.h"

class VkcPPDealer : public VkcPage<VkcPPDealerModel> {
  Q_OBJECT
 public:
  VkcPPDealer();
};
