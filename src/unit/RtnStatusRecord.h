#pragma once
// What the RTN utility shows of the running service: the service kind, whether it is watched,
// and the unit's last status answers.

#include <cstdint>
#include <string>

struct RtnStatusRecord {
  int32_t serviceIndex = 0;  // 0 TCP client, 1 NTRIP client, 2 TCP server
  bool monitoring = true;
  std::u16string rssi = u"N/A";   // GSM module RSSI
  std::u16string state = u"N/A";
  std::u16string error = u"N/A";
};
