#pragma once
// The network-service and GSM text nodes of the user image: 8-bit text converted to and from
// UTF-16 through the program's code page.

#include <string>

#include "devices/VkcImageNodes.h"

class VkcUnitImages;

// The device feature of units with a GSM modem and network services.
inline constexpr int kNetworkServicesFeature = 13;

// The text at path; empty when the node is missing. A wide node (a hand-edited file) is taken as it is.
std::u16string ReadServiceText(const VkcUnitImages& unit, const VkcNodePath& path);
// Stores text at path as an 8-bit text node, creating the node when missing.
void WriteServiceText(VkcUnitImages& unit, const VkcNodePath& path, const std::u16string& text);
