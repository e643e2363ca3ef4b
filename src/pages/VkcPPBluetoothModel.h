#pragma once
// The "Bluetooth" page: the unit's own Bluetooth address and its module's state, PIN, slave or
// master mode, discoverability, destination address and name, kept in the user image (units with
// Bluetooth, feature 7) or in the MCU settings (units behind an MCU). Nothing can be changed while
// the program itself talks to the unit over a Bluetooth port.

#include <string>

#include "app/PageModel.h"

class VkcPPBluetoothModel : public PageModel {
 public:
  static constexpr int kOwnAddress = 1173;
  static constexpr int kState = 1174;
  static constexpr int kPin = 1158;
  static constexpr int kMode = 1172;
  static constexpr int kDiscoverable = 1166;
  static constexpr int kDestination = 1175;
  static constexpr int kName = 1176;
  static constexpr int kWarning = 1227;

  static constexpr size_t kPinLimit = 8;
  static constexpr size_t kNameLimit = 14;

  VkcPPBluetoothModel();

  void Refresh() override;
  // Lower-case hex digits of a 12-digit address; empty when a digit is missing or not hexadecimal.
  static std::u16string NormalisedAddress(std::u16string_view raw);

 protected:
  void Exchange(VkcDataExchange& dx) override;
  bool Store() override;

 private:
  struct Values {
    std::u16string destination;
    int state = 0;
    std::u16string pin;
    bool discoverable = true;
    std::u16string name;
    int mode = 0;
    bool operator==(const Values&) const = default;
  };
  bool HasUnit();
  bool Usable();
  // Enables or disables the page's controls; the warning shows for a page disabled on a Bluetooth port.
  void EnablePage(bool enable, bool mcu);
  void OnModeChanged();
  void OnDestinationLeft();
  void Show(const Values& v);

  Values shown_;   // what the last refresh showed
  Values fields_;  // what the controls hold
  std::u16string acceptedDestination_;
};
