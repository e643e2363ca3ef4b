#pragma once
// The unit's replies during a network survey: the list of remote units that "CONNECT" gives,
// a parameter group's "KEY=value" lines, and the result codes. The command channel has already
// cut the echo and the closing "\r\nCLI>". Numbers are read in the "C" locale, ASCII only.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "link/ParamNode.h"
#include "link/UnitId.h"

namespace survey {

// The parameter groups of a unit, in the order they are queried.
inline constexpr const char* kGroups[] = {"LINK", "MPORT", "DPORT", "STATE", "INFO"};

// The map a unit gets when it is first queried: every key of every group at its initial value.
ParamMap InitialParams();

// The remote units of a "CONNECT" reply: each line "<number> <id>" (leading white space allowed)
// whose number is not 0 gives the id made of the line's hexadecimal digits after the number
// (upper case only; other characters are dropped). Lines that do not start with a digit are
// ignored, and so is a last line without its line feed. Entry 0 is the unit itself.
std::vector<UnitId> ParseRemoteList(std::string_view reply);

// Stores the value of every key of section found in reply: the text after the key's first
// occurrence and one separator character, past spaces and '=', up to the line's end. A key that
// does not occur keeps its value.
void ParseGroupReply(std::string_view reply, std::map<std::string, ParamValue>& section);

// The decimal number after the first "@0" ("@00" is 0, "@05" is 5); -1 when there is none.
int ParseResultCode(std::string_view reply);

// The decimal number after the first "@"; -1 when the reply holds no "@".
int ParseAtCode(std::string_view reply);

}  // namespace survey
