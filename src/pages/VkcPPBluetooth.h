#pragma once
// The "Bluetooth" page: the Qt view of VkcPPBluetoothModel.

#include "app/VkcPage.h"
#include "pages/VkcPPBluetoothModel.h"

class VkcPPBluetooth : public VkcPage<VkcPPBluetoothModel> {
  Q_OBJECT
 public:
  VkcPPBluetooth();
};
