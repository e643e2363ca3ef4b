#include "utilities/VkcPPBertCommon.h"

#include <cstdlib>
#include <vector>

#include "devices/VkcDevice.h"
#include "link/Format.h"
#include "link/Utf.h"
#include "unit/VkcSystem.h"

namespace bertpage {

std::string Utf8(const std::u16string& text) { return Utf16ToUtf8(text); }
std::u16string Wide(const std::string& text) { return Utf8ToUtf16(text); }

void FillRunningTime(PageControls& c, const std::u16string& text) {
  c[kRunningTime].SetItems({u"Infinite", u"60", u"120", u"240", u"480", u"960", u"1920", u"3600", u"7200"});
  c.SetText(kRunningTime, text.empty() ? u"Infinite" : text);
}

int32_t ParseRunningTime(const std::u16string& text) {
  // Read as a typed count is read: leading white space and a sign allowed, the text after the
  // digits ignored.
  const std::string s = Utf8(text);
  char* end = nullptr;
  const long long value = std::strtoll(s.c_str(), &end, 10);
  if (end == s.c_str() || value <= 0 || value > INT32_MAX) return -1;
  return static_cast<int32_t>(value);
}

bool FillChannels(PageControls& c, VkcSystem& unit, int preferred) {
  ControlState& list = c[kChannel];
  list.SetItems({});
  const VkcDevice* device = unit.GetCurrentDevice();
  if (device == nullptr) return false;
  std::vector<uint32_t> hz;
  device->GetChannelFrequencies(unit, hz);
  for (uint32_t f : hz) {
    int number = device->GetChannelNumber(f, unit);
    list.AddItem(Wide(StrPrintf("(%d) - %9.5f", number, f / 1000000.0)), number);
  }
  int at = preferred != 0 ? list.FindData(preferred) : -1;
  list.selection = at >= 0 ? at : (list.ItemCount() > 0 ? 0 : -1);
  return list.ItemCount() > 0;
}

void ShowElapsed(PageControls& c, bool show, int32_t runningTime) {
  c.Show(kProgress, show && runningTime > 0);
  if (show && runningTime > 0) {
    c.SetRange(kProgress, 0, runningTime);
    c.SetValue(kProgress, 0);
  }
  for (int id : {kElapsedLabel, kElapsed, kElapsedUnit}) c.Show(id, show);
  if (show) c.SetText(kElapsed, u"0");
}

uint32_t Tasks::Process(uint32_t operation, intptr_t, platform::WindowHandle, platform::Event& stop) {
  switch (operation) {
    case kPrepareTransmit:
      failure = setup_.PrepareTransmit(transmit, frequencyMHz, &stop);
      return failure.empty() ? 0 : 1;
    case kRestoreTransmit:
      setup_.RestoreTransmit(&stop);
      return 0;
    case kPrepareReceive:
      failure = setup_.PrepareReceive(rxProtocol, rxChannel, frequencyMHz, &stop);
      return failure.empty() ? 0 : 1;
    case kRestoreReceive:
      setup_.RestoreReceive(&stop);
      return 0;
    default:
      return 0;
  }
}

std::string StatFile::WriteHeader(const std::string& header) const {
  std::string error;
  if (!on_ || bertfile::WriteHeader(path_, header, &error)) return std::string();
  return error;
}

std::string StatFile::AppendRow(const std::string& row) {
  std::string error;
  if (!on_ || bertfile::AppendRow(path_, row, &error)) return std::string();
  if (failed_) return std::string();
  failed_ = true;
  return error;
}

}  // namespace bertpage
