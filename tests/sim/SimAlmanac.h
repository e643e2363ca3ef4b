#pragma once
// The almanac of a simulated beacon receiver: "LINK SAR 1" answers "@00" and "SCAN ALMANAC"
// answers its table, one "<frequency Hz>,<level>,<type>,<id>\r\n" line per station, then "@00"
// and the prompt; without stations it answers "EMPTY". The body can be replaced whole (a bad
// table), and each reply can be a refusal (a code) or left out (-1).

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/SimUnit.h"

namespace sim {

struct SimStation {
  uint32_t frequencyHz;
  int level;
  int type;
  int id;
};

class SimAlmanac {
 public:
  static constexpr int kNoReply = -1;

  explicit SimAlmanac(SimUnit& unit);

  void SetStations(std::vector<SimStation> stations);
  // count stations spread over 283.5..325 kHz, types 0, 1, 2 in turn, levels -60..-100, ids 1..count.
  static std::vector<SimStation> MakeStations(int count);
  // The reply to "SCAN ALMANAC" exactly as given (nothing added); cleared by SetStations.
  void SetRawBody(const std::string& body);
  void SetMasterReply(int code);  // "LINK SAR 1"
  void SetTableReply(int code);   // "SCAN ALMANAC": a code other than 0 replaces the table
  // The line a station gives in the table.
  static std::string Line(const SimStation& station);

 private:
  struct State {
    mutable std::mutex m;
    std::vector<SimStation> stations;
    std::optional<std::string> rawBody;
    int masterReply = 0;
    int tableReply = 0;
  };
  static void Handle(State& s, SimUnit& unit, const std::string& line);

  std::shared_ptr<State> state_;
};

}  // namespace sim
