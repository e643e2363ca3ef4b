#pragma once
// Owns the prototype of every radio model and every device interface, finds models by product id
// or display name, enumerates the interfaces, and identifies the radio on a port: it sweeps the
// interfaces and serial rates and asks the unit for its product id. Holds the MCU controller and
// the identification log.
//
// The registries are filled once at start-up and only read afterwards (from any thread).

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "devices/VkcDevice.h"
#include "devices/VkcDeviceInterface.h"
#include "devices/VkcMCUController.h"
#include "link/VkcLogMessage.h"
#include "link/VkcMessageIds.h"
#include "platform/Messages.h"

class CfgNode;
class VkcComPort;
namespace platform {
class Event;
}

// Results of the identify sweep besides a product id.
inline constexpr int kDetectStartup = -1;   // the unit answers from its start-up code
inline constexpr int kDetectNoAnswer = -3;  // nothing answered, or the sweep was stopped

class VkcDeviceManager {
 public:
  VkcDeviceManager();
  ~VkcDeviceManager();
  VkcDeviceManager(const VkcDeviceManager&) = delete;
  VkcDeviceManager& operator=(const VkcDeviceManager&) = delete;

  // Creates every model prototype and the interfaces "Direct" (1) and the Quorl gateway (6).
  bool RegisterPrototypes();
  // False (and nothing stored) when the id is taken.
  bool AddDevice(int id, std::unique_ptr<VkcDevice> device);
  bool AddInterface(int id, std::unique_ptr<VkcDeviceInterface> itf);

  const VkcDevice* GetDevice(int id) const;
  VkcDeviceInterface* GetInterface(int id) const;
  // Case-insensitive; the lowest id carrying the name wins.
  const VkcDevice* FindDeviceByName(std::u16string_view name) const;
  // From 0: the lowest interface id; else the id after the given one. 0 (out untouched) when there
  // is none, the id is unknown, or no device is registered.
  int GetNextInterface(VkcDeviceInterface*& out, int id) const;
  int GetInterfaceCount() const { return static_cast<int>(interfaces_.size()); }
  VkcMCUController& GetMCUController() { return mcu_; }
  // The interface named in the application settings ("Serial Interface"/"Interface"; 1 when the
  // section or key is missing). Reads without creating nodes.
  VkcDeviceInterface* GetConfiguredInterface(const CfgNode& settingsRoot) const;
  VkcLogMessage& GetLog() { return log_; }

  // Posts the percentage; with a format, appends the text to the log and posts the mailbox.
  [[gnu::format(printf, 4, 5)]] static bool LogProgress(VkcLogMessage& log, platform::WindowHandle window,
                                                        int percent, const char* format, ...);

  // Asks "INFO ID": the product id, 0 for a unit in its start-up code, kDetectNoAnswer without a reply.
  int ProbeModelId(VkcComPort* port, platform::WindowHandle window, platform::Event* stop);
  // The identify sweep: a product id, kDetectStartup, or kDetectNoAnswer.
  int DetectModel(VkcComPort* port, VkcDeviceInterface* preferred, platform::WindowHandle window,
                  platform::Event* stop);

 private:
  // Reads the product id from an INFO ID reply; false when the reply holds no number.
  static bool ParseModelId(const std::string& reply, int& id);

  std::map<int, std::unique_ptr<VkcDevice>> devices_;
  std::map<int, std::unique_ptr<VkcDeviceInterface>> interfaces_;
  VkcMCUController mcu_;
  VkcLogMessage log_;
};
