#pragma once
// The program's client of the MCU command line: the small management processor some units put
// between their ports (UART, USB, Bluetooth) and the radio modem. It routes the modem to a port,
// holds the Bluetooth settings and the UART's rate and type.
//
// The record has no lock: exchanges and page edits take turns under the main dialog's
// one-operation lock.

#include <string>
#include <vector>

#include "devices/VkcMCUSettings.h"
#include "platform/Messages.h"

class VkcComPort;
class VkcConfiguration;
namespace platform {
class Event;
}

class VkcMCUController {
 public:
  VkcMCUController() = default;
  virtual ~VkcMCUController() = default;

  VkcMCUSettings& Settings() { return settings_; }
  const VkcMCUSettings& Settings() const { return settings_; }
  void SetBluetoothChanged(bool changed) { bluetoothChanged_ = changed; }
  bool IsBluetoothChanged() const { return bluetoothChanged_; }

  // --- Single exchanges ---
  bool EnterCommandLine(VkcComPort* port);
  bool LeaveCommandLine(VkcComPort* port);
  int ReadSerialRate(VkcComPort* port);
  bool WriteSerialRate(VkcComPort* port, int index);
  int ReadSerialType(VkcComPort* port);
  int ReadCurrentPort(VkcComPort* port);
  std::string ReadOwnAddress(VkcComPort* port);
  std::string ReadRemoteAddress(VkcComPort* port);
  bool WriteRemoteAddress(VkcComPort* port, const std::string& text);
  std::string ReadPin(VkcComPort* port);
  bool WritePin(VkcComPort* port, const std::string& text);
  std::string ReadBluetoothName(VkcComPort* port);
  bool WriteBluetoothName(VkcComPort* port, const std::string& text);
  bool ReadMaster(VkcComPort* port);
  bool WriteMaster(VkcComPort* port, bool on);
  bool ReadBluetoothEnabled(VkcComPort* port);
  bool WriteBluetoothEnabled(VkcComPort* port, bool on);
  bool WriteRoute(VkcComPort* port, int routeIndex);

  // --- Composites ---
  // Run at every rate of the identify sweep: finds an MCU and routes the modem to the PC's port.
  void ProbeMcu(VkcComPort* port, platform::WindowHandle window, platform::Event* stop);
  void RouteToCurrentPort(VkcComPort* port);
  // stop, when given, ends every wait of the composite early (exchanges and the rate pause); a
  // stopped route composite forgets no MCU.
  bool ReadAll(VkcComPort* port, platform::Event* stop = nullptr);
  bool WriteAll(VkcComPort* port, platform::Event* stop = nullptr);
  void ApplyStoredRoute(VkcComPort* port, platform::Event* stop = nullptr);
  void RefreshRoute(VkcComPort* port, platform::Event* stop = nullptr);
  const char16_t* const* GetRouteNames(int& count) const;
  void GetSerialRateChoices(std::vector<int>& out) const;
  bool IsPresent() const { return settings_.GetRouteCode() != VkcMCUSettings::kRouteNone; }
  // The MCU settings image.
  bool SaveSettingsToImage(VkcConfiguration& image) const;
  bool LoadSettingsFromImage(VkcConfiguration& image);

 private:
  // One exchange: sends the command, waits for "@00" (or expected) and gives the value before it.
  bool Query(VkcComPort* port, const std::string& command, uint32_t timeoutMs, const char* expected,
             std::string* value, platform::Event* stop = nullptr);
  // A set command carrying a value (head + value + "\r"); a value that cannot be command text
  // is not sent and answers false.
  bool QueryWithValue(VkcComPort* port, const char* head, const std::string& value, const char* expected);

  // The stop event of the running composite, for the exchanges and pauses inside it.
  class StopScope {
   public:
    StopScope(VkcMCUController& c, platform::Event* stop) : c_(c) { c_.stop_ = stop; }
    ~StopScope() { c_.stop_ = nullptr; }
    StopScope(const StopScope&) = delete;
    StopScope& operator=(const StopScope&) = delete;

   private:
    VkcMCUController& c_;
  };
  bool Stopped() const;

  VkcMCUSettings settings_;
  bool bluetoothChanged_ = false;
  platform::Event* stop_ = nullptr;
};
