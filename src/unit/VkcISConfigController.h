#pragma once
// The settings of one network correction service that a GSM unit can run (TCP client, NTRIP
// client or TCP server): checks every value set and moves the values between the user image and
// memory. Each controller keeps two entries: 0 is the service as the unit image stores it (RTN
// page), 1 the service the RTN utility configures on the unit directly. An entry index other
// than 0 or 1 is refused: setters false, getters empty or 0.
//
// Entry 1 is also written by the RTN utility's monitor thread, so every entry is read and
// written under the controller's lock; getters return copies.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>

#include "devices/VkcImageNodes.h"
#include "unit/ServiceSettings.h"

class VkcUnitImages;

class VkcISConfigController {
 public:
  enum Kind : int { kTcpClient = 0, kNtripClient = 1, kTcpServer = 2 };
  static constexpr size_t kMaxText = 64;   // host, login, password, mount point
  static constexpr size_t kMaxNmea = 128;

  explicit VkcISConfigController(VkcUnitImages& unit) : unit_(unit) {}
  virtual ~VkcISConfigController();
  VkcISConfigController(const VkcISConfigController&) = delete;
  VkcISConfigController& operator=(const VkcISConfigController&) = delete;

  virtual bool SetHostName(const std::u16string& text, int i) = 0;
  virtual std::u16string GetHostName(int i) const = 0;
  // 1..65535, kept as decimal text.
  virtual bool SetPort(int port, int i);
  // The decimal value of the port text; 0 when it is not a number.
  virtual int GetPort(int i) const;
  virtual bool SetLogin(const std::u16string& text, int i);
  virtual std::u16string GetLogin(int i) const;
  virtual bool SetPassword(const std::u16string& text, int i);
  virtual std::u16string GetPassword(int i) const;
  // Services without a mount point or NMEA sentence ignore the text and answer true.
  virtual bool SetMountPoint(const std::u16string& text, int i);
  virtual std::u16string GetMountPoint(int i) const;
  virtual bool SetNmeaMessage(const std::u16string& text, int i);
  virtual std::u16string GetNmeaMessage(int i) const;
  // False without a current device, for a start-up or boot-loader unit, or without network
  // services; otherwise the entry takes this service's values from the user image.
  virtual bool LoadFromDevice(int i) = 0;
  // False without a current device or without network services; otherwise writes this
  // service's texts, the service kind and autorun into the user image (never the routing).
  virtual bool SaveToDevice(int i) = 0;
  // 1..10.
  virtual bool SetRouting(int routing, int i);
  virtual int GetRouting(int i) const;
  virtual int GetState(int i) const;
  virtual bool SetAutorun(bool on, int i);
  virtual bool GetAutorun(int i) const;
  virtual bool UsesHostName() const = 0;
  virtual bool UsesMountPoint() const = 0;

  // A copy of the entry (empty for an invalid index).
  ServiceSettings GetSettings(int i) const;

 protected:
  static bool ValidIndex(int i) { return i == 0 || i == 1; }
  // Stores text into a field of entry i when it has at most limit characters.
  bool StoreText(std::u16string ServiceSettings::*field, const std::u16string& text, size_t limit, int i);
  std::u16string ReadText(std::u16string ServiceSettings::*field, int i) const;
  // The load and save every service shares: group is the service's node, fields its keys in order.
  bool LoadGroup(int i, Kind kind, const VkcNodePath& group,
                 std::initializer_list<std::u16string ServiceSettings::*> fields);
  bool SaveGroup(int i, const VkcNodePath& group, std::initializer_list<std::u16string ServiceSettings::*> fields);

  mutable std::mutex mutex_;
  std::array<ServiceSettings, 2> entries_{};
  VkcUnitImages& unit_;
};
