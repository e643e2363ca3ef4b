#pragma once
// A simulated GNSS receiver in front of the simulated radio: the program opens SlavePath() as its
// serial port and talks to the receiver; one receiver port ("dev/ser/c" unless told otherwise) is
// chained to the radio, whose pseudo-terminal (SimUnit::SlavePath) the receiver opens itself.
//
// Receiver commands are lines starting with "%%" (CR or CR LF ends a line; other lines are
// ignored). Answers, the format the gateway relies on:
//   done:   "RE" + 3 hex digits (the length of what follows them) + "%%" + data + "\r\n"
//   error:  "ER" + 3 hex digits + "%%" + text + "\r\n"
// Normal answers never hold "ER". Commands:
//   "%%"                          done, no data
//   "%%set,<path>,<value>"        cur/term/echo, cur/term/imode, cur/term/eoff,
//                                 dev/ser/<x>/echo, dev/ser/<x>/imode (x = a..d)
//   "%%print,<path>"              echo values as a "/"-path ("/dev/null"), input modes as "cmd" or
//                                 "echo"; "out/dev/ser/<x>:on" lists the messages output on a port:
//                                 "{}" or "{NAME=period," + one line per further message indented
//                                 by 8 blanks, the last ending in "}"
//   "%%dm,<port>"                 stops every message on the port
//   "%%em,<port>,<NAME:period>"   starts a message on the port
// Pass-through is live while cur/term/imode is "echo" and cur/term/echo names a receiver port:
// then everything the program sends goes to that port (to the radio when it is the chained one),
// and only the text of cur/term/eoff is looked for; seeing it ends the pass-through (the terminal's
// input mode returns to "cmd"). The radio's output reaches the program while the chained port's
// input mode is "echo" and its echo goes to "/cur/term"; otherwise it is dropped.
//
// The radio link follows the rate the program sets on its side, so the radio sees the rates of an
// identification sweep as if it were on the program's port.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/WorkerThread.h"

namespace sim {

struct GnssOptions {
  char radioPort = 'c';
  // Messages output on every receiver port at start, as "NAME=period".
  std::vector<std::string> messages = {"GGA=1.00", "ZDA=5.00"};
  std::string termEcho = "/dev/null";
  std::string termImode = "cmd";
  std::string portEcho = "/dev/null";
  std::string portImode = "cmd";
  // Every line of a message list ends in "}", the first closing itself: "{GGA=1.00}" and then
  // "        ZDA=5.00}".
  bool eachMessageClosed = false;
};

class SimGnss {
 public:
  enum class Rule { Answer, Silent, Error };

  // radioPath: the radio's pseudo-terminal slave; empty for a receiver without a radio.
  SimGnss(const std::string& radioPath, GnssOptions options = {});
  ~SimGnss();
  SimGnss(const SimGnss&) = delete;
  SimGnss& operator=(const SimGnss&) = delete;

  bool IsOk() const { return ok_; }
  const std::string& SlavePath() const { return slavePath_; }
  std::u16string SlavePath16() const;

  // Command lines starting with prefix get no answer (Silent) or an error answer (Error).
  void SetRule(const std::string& prefix, Rule rule);
  // Every command goes unanswered.
  void SetSilent(bool silent);

  bool PassThroughLive() const;
  // A setting by path ("cur/term/imode", "dev/ser/c/echo", "cur/term/eoff").
  std::string Setting(const std::string& path) const;
  void SetSetting(const std::string& path, const std::string& value);
  std::vector<std::string> Messages(char port) const;
  // Command lines the receiver read, without their line end.
  std::vector<std::string> Commands() const;
  // Every byte the program sent, and the bytes that went on to the radio.
  std::string Received() const;
  std::string ForwardedToRadio() const;
  void ClearRecord();

 private:
  struct Port {
    std::string echo;
    std::string imode;
    std::vector<std::string> messages;
  };

  void Run(platform::Event& stop);
  void OnProgramInput(const char* data, size_t n);
  void OnRadioOutput(const char* data, size_t n);
  void HandleLineLocked(const std::string& line);
  std::string CommandLocked(const std::string& line);
  bool LiveLocked() const;
  char LiveTargetLocked() const;
  void ForwardLocked(char c);
  Port* PortLocked(const std::string& path, std::string* leaf);
  void FollowRateLocked();
  void FlushLocked();

  bool ok_ = false;
  std::string slavePath_;
  int master_ = -1;
  int slaveHold_ = -1;
  int radio_ = -1;
  const char radioPort_;
  const bool eachMessageClosed_;

  mutable std::mutex m_;
  std::map<char, Port> ports_;
  std::string termEcho_;
  std::string termImode_;
  std::string eoff_;
  std::map<std::string, Rule> rules_;
  bool silent_ = false;

  std::string line_;
  bool lastWasCr_ = false;
  std::string held_;  // a possible start of the eoff text while live
  uint32_t radioRate_ = 0;
  std::string toProgram_;
  std::string toRadio_;

  std::vector<std::string> commands_;
  std::string received_;
  std::string forwarded_;

  platform::WorkerThread thread_;
};

}  // namespace sim
