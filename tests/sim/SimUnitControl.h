#pragma once
// The connected-unit family of the simulated unit: traffic on and off ("@RX OFF", "@RX ON"),
// "@BT OFF", and the radio's single-value commands (LINK, STATE, TSTUFR and "@RX RESBER"). Query
// values are settable; every set is accepted. A line may start with the LF that ended the
// program's previous "\r\n" command.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "sim/SimUnit.h"

namespace sim {

class SimUnitControl {
 public:
  explicit SimUnitControl(SimUnit& unit);

  // A query's value (the text before "@00"); the reply is "<value>\r\n@00\r\n" and the prompt.
  void SetValue(const std::string& command, const std::string& value);
  // The query or set answers with this code and no value ("@%02d").
  void SetFailure(const std::string& command, int code);
  // The command gets no answer at all (only the echo), whichever family answers it otherwise;
  // given back (false), the command is answered as this family answers it.
  void SetUnanswered(const std::string& command, bool unanswered = true);

 private:
  struct State {
    mutable std::mutex m;
    std::map<std::string, std::string> values;
    std::map<std::string, int> failures;
    std::set<std::string> unanswered;
  };
  static void Handle(State& s, SimUnit& unit, const std::string& rawLine);

  SimUnit& unit_;
  std::shared_ptr<State> state_;
};

}  // namespace sim
