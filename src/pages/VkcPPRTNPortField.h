#pragma once
// The host-port field of the network-service pages. A unit that stores no port (0) shows an
// empty field, and an empty field over no stored port takes nothing: the range check (1..65535)
// applies once there is a port to keep or the user typed one.

#include <string>

#include "app/PageControls.h"
#include "app/VkcDataExchange.h"
#include "link/Ansi.h"

inline std::u16string PortFieldText(int port) { return port > 0 ? AnsiToWide(std::to_string(port)) : std::u16string(); }

// port becomes 0 (which no setter takes) for an empty field over no stored port.
inline void ExchangePortField(VkcDataExchange& dx, const PageControls& controls, int id, int storedPort, int& port) {
  if (storedPort <= 0 && controls.Text(id).empty()) {
    port = 0;
    return;
  }
  dx.Int(id, 1, 65535, port);
}
