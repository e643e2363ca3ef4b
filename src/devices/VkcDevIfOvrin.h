#pragma once
// The gateway through a Quorl GNSS receiver whose serial port is chained to the radio ("daisy
// chain"). It switches the radio's modes as "Direct" does; opening the pass-through logs in to the
// receiver, saves the settings of the chosen receiver port and of the terminal, and runs the open
// script; closing runs the close script and restores what was saved.
//
// Receiver answers hold "%%"; an answer holding "ER" is an error.

#include <string>
#include <vector>

#include "devices/VkcDevIfVelkor.h"

class VkcDevIfOvrin : public VkcDevIfVelkor {
 public:
  static constexpr int kId = 6;
  static constexpr int kOpenLines = 9;
  static constexpr int kCloseLines = 5;

  VkcDevIfOvrin() : VkcDevIfVelkor(kId, u"Through Quorl GPS receiver") {}

  int OpenPassThrough(VkcComPort* port, bool open, platform::WindowHandle notify, platform::Event* stop) override;
  // 0..3 choose the receiver port "dev/ser/a" .. "dev/ser/d"; any other index is ignored.
  void SelectReceiverPort(int index) override;
  bool Login() override;
  bool SaveReceiverPortSettings() override;
  const std::vector<std::string>* GetOpenScript() override;
  const std::vector<std::string>* GetCloseScript() override;

  // Puts back what was saved; a value that was never read is not written. False when any
  // command went unanswered or was refused, or a value was missing.
  bool RestorePortSettings();
  int RunReceiverScript(int count, const std::vector<std::string>* lines, bool checkFirst);

  // The port the receiver exchanges run on; OpenPassThrough sets it.
  void SetPort(VkcComPort* port) { port_ = port; }
  const std::string& GetReceiverPortPath() const { return portPath_; }
  const std::vector<std::string>& GetRestoreList() const { return restoreList_; }
  const std::string& GetSavedPortEcho() const { return savedPortEcho_; }
  const std::string& GetSavedPortImode() const { return savedPortImode_; }
  const std::string& GetSavedTermEcho() const { return savedTermEcho_; }
  const std::string& GetSavedTermImode() const { return savedTermImode_; }

  // The message-restore commands for a receiver port from the answer to its message query.
  // refused (optional) is set when a message could not be taken into the list.
  static std::vector<std::string> ParseRestoreList(const std::string& answer, const std::string& portPath,
                                                   bool* refused = nullptr);

 private:
  // Wakes the receiver with a CR, then sends command and waits for expected. The answer from its
  // first "/" on (the whole answer when it has none), or "NULL" when none came.
  std::string QueryReceiver(const std::string& command, const char* expected);
  // The same exchange; false without an answer, else the whole answer in reply.
  bool QueryReceiverRaw(const std::string& command, const char* expected, std::string& reply);
  // The saved value of a settings query: the answer from its first "/" on, or "NULL" when none
  // came or the receiver refused the query ("ER").
  std::string QuerySetting(const std::string& command);
  // The messages a receiver port outputs: the answer up to "}\r\n" and the lines that follow it
  // at once. False without an answer.
  bool QueryMessageList(const std::string& command, std::string& answer);
  // The template with the receiver port path written over "dev/ser/d" where it stands.
  std::string WithPortPath(const char* templ, size_t at) const;

  VkcComPort* port_ = nullptr;
  std::string portPath_ = "dev/ser/c";
  std::string savedPortEcho_;
  std::string savedPortImode_;
  std::string savedTermEcho_;
  std::string savedTermImode_;
  std::vector<std::string> restoreList_;
  int linesAnswered_ = 0;  // of the last receiver script
  platform::WindowHandle notify_ = 0;
  std::vector<std::string> openScript_;
  std::vector<std::string> closeScript_;
};
