#pragma once
// The Identification page without widgets: what identification found out about the connected
// unit (type and product id, serial number, firmware, boot-loader and hardware versions) and the
// one editable value, the unit's own address ("APS-3 Serial Number"), offered only when the unit
// is reached through device interface 2.

#include <string>

#include "app/PageModel.h"
#include "link/UnitId.h"

class VkcPPIdentifyModel : public PageModel {
 public:
  static constexpr int kUnitType = 1014;
  static constexpr int kUnitName = 1009;
  static constexpr int kOwner = 1010;
  static constexpr int kSerialNumber = 1015;
  static constexpr int kFirmware = 1016;
  static constexpr int kBootloader = 1018;
  static constexpr int kHardware = 1019;
  static constexpr int kAddress = 1132;
  static constexpr int kAddressLabel = 1134;
  // The device interface through which the own address is set.
  static constexpr int kAddressInterface = 2;

  VkcPPIdentifyModel();
  void Refresh() override;

 protected:
  // Writes the address only for the unit refresh showed, and only when the user changed it: the
  // address read back unchanged is never written (it would retype an older image's node).
  bool Store() override;

 private:
  UnitId shownAddress_;
};
