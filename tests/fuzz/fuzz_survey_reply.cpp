// Unit replies of the network survey: the remote list of "CONNECT", the groups' "KEY=value" lines
// and the result codes. Each remote's id is printed and read back as the survey's command does;
// the values are read as the unit list shows them (numbers, translated texts).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "devices/VkcDevice.h"
#include "unit/NetworkSurveyReplies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  for (const UnitId& id : survey::ParseRemoteList(reply)) {
    const std::string command = "CONNECT " + id.ToString(std::string_view());
    UnitId back;
    back.Parse(std::string_view(command).substr(8));
    if (back != id) std::abort();
  }
  static const VkcDevice device;
  ParamMap map = survey::InitialParams();
  for (auto& [section, keys] : map) {
    survey::ParseGroupReply(reply, keys);
    for (const auto& [key, value] : keys) {
      // A value comes from the reply, or is the short number it started as.
      if (value.value.size() > size && value.value.size() > 4) std::abort();
      (void)value.ToInt();
      (void)device.TranslateSetting(section, key, value.value);
    }
  }
  (void)survey::ParseResultCode(reply);
  (void)survey::ParseAtCode(reply);
  return 0;
}
