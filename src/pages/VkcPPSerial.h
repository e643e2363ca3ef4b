#pragma once
// The "Serial Interface" page: the Qt view of VkcPPSerialModel.

#include "app/VkcPage.h"
#include "pages/VkcPPSerialModel.h"

class VkcPPSerial : public VkcPage<VkcPPSerialModel> {
  Q_OBJECT
 public:
  VkcPPSerial();
};
