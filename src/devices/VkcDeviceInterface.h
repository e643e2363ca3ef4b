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

  // Receiver pass-through, switched on (open) or off through port. Result 0 done; 1 no reply from
  // the receiver; 2 the receiver reported an error; 3 its port settings could not be saved; 4 they
  // could not be restored; 5 no reply to a later script line. Progress and replies are posted to
  // notify (2024). Every wait of it, exchanges and fixed pauses, ends early when stop is set.
  virtual int OpenPassThrough(VkcComPort* port, bool open, platform::WindowHandle notify, platform::Event* stop);
  // The receiver commands that open and close the pass-through; null when the interface has none.
  virtual const std::vector<std::string>* GetOpenScript();
  virtual const std::vector<std::string>* GetCloseScript();
  // Sends count lines of a script, each answered by "$R" ("$R?" is an error); the first line's
  // answer is looked at only when checkFirst is set. A missing script sends nothing and gives 0.
  virtual int RunScript(VkcComPort* port, int count, const std::vector<std::string>* lines,
                        platform::WindowHandle notify, bool checkFirst);

  int GetId() const { return id_; }
  const std::u16string& GetName() const { return name_; }
  VkcLogMessage& GetLog() { return log_; }

 protected:
  // A fixed pause that ends early when the running pass-through's stop event is set.
  void Pause(uint32_t nominalMs) const;
  // The stop event of the running pass-through (null: none); OpenPassThrough sets it.
  platform::Event* stop_ = nullptr;

 private:
  int id_;
  std::u16string name_;
  VkcLogMessage log_;
};
