#include "platform/SettingsLocation.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

std::string SettingsFolder() {
  std::string base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      const passwd* pw = ::getpwuid(::getuid());
      home = pw ? pw->pw_dir : "/tmp";
    }
    base = std::string(home) + "/.config";
  }
  return base + "/Velkor Communcations/Modulink";
}

std::string SettingsFilePath() { return SettingsFolder() + "/settings.vkc"; }

}  // namespace platform
