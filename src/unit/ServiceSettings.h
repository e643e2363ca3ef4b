#pragma once
// One network correction service's settings (TCP client, NTRIP client or TCP server).

#include <cstdint>
#include <string>

struct ServiceSettings {
  std::u16string host;
  std::u16string port;  // decimal text
  std::u16string login;
  std::u16string password;
  std::u16string mountPoint;
  std::u16string nmea;  // NMEA GGA sentence sent to the caster
  int32_t routing = 0;  // the unit's data routing
  int32_t state = 0;    // service kind: 0 TCP client, 1 NTRIP client, 2 TCP server
  uint8_t autorun = 0;
};
