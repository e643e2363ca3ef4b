#pragma once
// Where the program keeps its settings: one file in the user's configuration folder, named after
// the key the program has always used.

#include <string>

namespace platform {

// ${XDG_CONFIG_HOME:-~/.config}/Velkor Communcations/Modulink
std::string SettingsFolder();
// SettingsFolder() + "/settings.vkc"
std::string SettingsFilePath();

}  // namespace platform
