#pragma once
// A way the program reaches the radio through the port it has opened: directly, or through a GNSS
// receiver whose port is chained to the radio. An interface can switch the radio between its
// command line and data mode; gateways can open and close the receiver's pass-through.

#include <cstdint>
#include <string>
#include <vector>

#include "link/VkcLogMessage.h"
#include "platform/Messages.h"

class VkcComPort;
namespace platform {
class Event;
}

class VkcDeviceInterface {
 public:
  VkcDeviceInterface(int id, std::u16string name) : id_(id), name_(std::move(name)) {}
  virtual ~VkcDeviceInterface() = default;
  VkcDeviceInterface(const VkcDeviceInterface&) = delete;
  VkcDeviceInterface& operator=(const VkcDeviceInterface&) = delete;

  // 0 when done, else a failure code.
  // stop, when given, ends every wait early (the identify sweep's stop event).
  virtual int ToCommandMode(VkcComPort* port, int flag, platform::Event* stop = nullptr);
  virtual int ToDataMode(VkcComPort* port, int flag, platform::Event* stop = nullptr);
  virtual void SelectReceiverPort(int index);
  virtual bool Login();
  virtual bool SaveReceiverPortSettings();

  int GetId() const { return id_; }
  const std::u16string& GetName() const { return name_; }
  VkcLogMessage& GetLog() { return log_; }

 private:
  int id_;
  std::u16string name_;
  VkcLogMessage log_;
};
