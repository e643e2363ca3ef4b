#pragma once
// Values put into command lines. A control character (below 0x20, or 0x7F) inside a value would
// end the line early or start another command at the unit, the MCU or the gateway, so a value
// holding one never becomes command text. Only values are checked: a command's own framing (a
// leading "\n", the final "\r", a CR LF ending) is the builder's fixed text and passes as given.
//
// Every command built from a value goes through CommandWithValue; the pages and the configuration
// file use IsCommandValue to refuse such a value before it is stored.

#include <optional>
#include <string>
#include <string_view>

// True when no character of text is a control character.
bool IsCommandValue(std::string_view text);
bool IsCommandValue(std::u16string_view text);

// head + value + tail. A value holding a control character gives nothing and an error-log entry
// naming what (by default the command: head without its framing); the caller then sends nothing.
std::optional<std::string> CommandWithValue(std::string_view head, std::string_view value, std::string_view tail,
                                            std::string_view what = {});
