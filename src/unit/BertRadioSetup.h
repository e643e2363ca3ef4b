#pragma once
// The unit's side of a BERT run: before a test the radio is tuned for it (and its settings kept),
// after the test they are set again. Runs the unit's commands in order; each failing step names
// itself with the message the user sees. Used from the pages' tasks, never on a window's thread.

#include <string>

#include "platform/Event.h"

class VkcSystem;

struct BertTxRequest {
  int channel = -1;         // channel number of the selected list item (-1: none)
  int power = 0;            // in dBm, or in mW when powerInMilliwatts
  bool powerInMilliwatts = false;
  int protocol = -1;        // -1: none selected
  int modulationIndex = -1; // 0-based; -1: none
};

class BertRadioSetup {
 public:
  explicit BertRadioSetup(VkcSystem& system) : system_(system) {}

  // Both return "" when the unit is ready for the test, else the message to show. frequencyMHz
  // is the test channel's frequency (as read before, when the channel needed no change).
  std::string PrepareTransmit(const BertTxRequest& request, double& frequencyMHz, platform::Event* stop);
  std::string PrepareReceive(int protocol, int channel, double& frequencyMHz, platform::Event* stop);
  // A Prepare that fails keeps what it set so far. The settings kept by the last Prepare go back
  // to the unit (only those that were read); the unit stays in command mode and its data port
  // keeps hardware flow control. The PC port's flow control is restored in any case.
  void RestoreTransmit(platform::Event* stop);
  void RestoreReceive(platform::Event* stop);

 private:
  double QueryFrequencyMHz(platform::Event* stop);
  void ForgetSaved();

  VkcSystem& system_;
  int power_ = -1, protocol_ = -1, modulation_ = -1, channel_ = -1;
  bool havePower_ = false, haveProtocol_ = false, haveModulation_ = false, haveChannel_ = false;
  int portFlow_ = -1;
};
