#pragma once
// The RTN page ("Configurations"): the Qt view of VkcPPRTNServicesModel.

#include "app/VkcPage.h"
#include "pages/VkcPPRTNServicesModel.h"

class VkcPPRTNServices : public VkcPage<VkcPPRTNServicesModel> {
  Q_OBJECT
 public:
  VkcPPRTNServices();
};
