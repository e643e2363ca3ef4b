#pragma once
// What the program knows of the unit's MCU: the modem route, the Bluetooth settings and the UART.

#include <cstdint>
#include <string>

class VkcMCUSettings {
 public:
  // Routes as the MCU names them.
  static constexpr uint32_t kRouteNone = 0;
  static constexpr uint32_t kRouteUart = 1;  // "MDMSER"
  static constexpr uint32_t kRouteUsb = 2;   // "MDMUSB"
  static constexpr uint32_t kRouteBt = 3;    // "MDMBT"

  // Route index as the pages and the image use it: 0 "Modem to USB", 1 "Modem to BT", 2 "Modem to
  // UART". Other indexes leave the route unchanged.
  void SetRoute(int index) {
    if (index == 0) route_ = kRouteUsb;
    else if (index == 1) route_ = kRouteBt;
    else if (index == 2) route_ = kRouteUart;
  }
  int GetRoute() const {
    switch (route_) {
      case kRouteUart: return 2;
      case kRouteBt: return 1;
      default: return 0;
    }
  }
  uint32_t GetRouteCode() const { return route_; }
  void SetRouteCode(uint32_t route) { route_ = route; }

  void SetBluetoothName(std::string v) { name_ = std::move(v); }
  const std::string& GetBluetoothName() const { return name_; }
  void SetPin(std::string v) { pin_ = std::move(v); }
  const std::string& GetPin() const { return pin_; }
  void SetRemoteAddress(std::string v) { remote_ = std::move(v); }
  const std::string& GetRemoteAddress() const { return remote_; }
  void SetOwnAddress(std::string v) { own_ = std::move(v); }
  const std::string& GetOwnAddress() const { return own_; }
  void SetBluetoothEnabled(bool v) { btEnabled_ = v; }
  bool IsBluetoothEnabled() const { return btEnabled_; }
  void SetMaster(bool v) { master_ = v; }
  bool IsMaster() const { return master_; }
  void SetHasSerialPort(bool v) { hasSerial_ = v; }
  bool HasSerialPort() const { return hasSerial_; }
  // Serial rate name index 1..9; 0 unknown.
  void SetSerialRate(uint32_t v) { serialRate_ = v; }
  uint32_t GetSerialRate() const { return serialRate_; }
  // 0 SER, 1 USB, 2 BT, -1 unknown.
  void SetCurrentPort(int v) { currentPort_ = v; }
  int GetCurrentPort() const { return currentPort_; }
  // 0 RS232, 1 RS422, 2 RS485, -1 unknown.
  void SetSerialType(int v) { serialType_ = v; }
  int GetSerialType() const { return serialType_; }

  bool operator==(const VkcMCUSettings&) const = default;

 private:
  uint32_t route_ = kRouteNone;
  std::string name_;
  std::string pin_;
  std::string remote_;
  std::string own_;
  bool btEnabled_ = false;
  bool master_ = false;
  bool hasSerial_ = false;
  uint32_t serialRate_ = 0;
  int currentPort_ = -1;
  int serialType_ = -1;
};
