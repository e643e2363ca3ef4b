#include "unit/VkcDownloadPlan.h"

#include "link/AsciiClass.h"
#include "link/FirmwareVersion.h"

namespace {
VkcDownloadStep Step(VkcDownloadStep::Kind kind, int index = -1, const char* word = "") {
  VkcDownloadStep step;
  step.kind = kind;
  step.index = index;
  step.word = word;
  return step;
}
}  // namespace

std::vector<VkcDownloadStep> BuildDownloadPlan(const VkcDownloadInputs& in) {
  using S = VkcDownloadStep;
  std::vector<S> plan;
  auto selfRestart = [&plan] {
    plan.push_back(Step(S::kWaitRbt));
    plan.push_back(Step(S::kSysInit));
  };
  if (in.hasMain) {
    const bool skip = in.multi && in.startup && in.crcMatches;
    if (!skip) {
      plan.push_back(Step(S::kLoad, -1, in.multi ? "FACTIMAGE" : in.unitHasMainImage ? "IMAGE" : "FACTIMAGE"));
      if (in.startup) {
        selfRestart();
      } else {
        S reboot = Step(S::kReboot);
        reboot.mainImage = in.multi ? false : in.unitHasMainImage;
        reboot.bootImage = in.multi ? 8 : -1;
        plan.push_back(reboot);
      }
    }
  }
  if (in.multi) {
    for (size_t i = 0; i < in.extras; ++i) {
      plan.push_back(Step(S::kLoad, static_cast<int>(i), "NIMG"));
      selfRestart();
    }
  }
  return plan;
}

bool DownloadStartupFlag(int productId, const std::string& softwareVersion) {
  if (productId == -1) return true;
  if (productId == 0) return false;
  FirmwareVersion version;
  version.ParseRev(softwareVersion);
  return version.Major() == 2;
}

bool DownloadCrcIdMatches(int code, const std::string& value, int64_t crcId) {
  if (code != 0 || crcId < 0) return false;
  size_t at = 0;
  while (at < value.size() && (value[at] == ' ' || value[at] == '\t' || value[at] == '\r' || value[at] == '\n'))
    ++at;
  // As the C library reads hexadecimal: an "0x" before the digits is allowed.
  if (value.size() - at > 2 && value[at] == '0' && (value[at + 1] == 'x' || value[at + 1] == 'X') &&
      ascii::HexValue(value[at + 2]) >= 0)
    at += 2;
  uint64_t n = 0;
  size_t digits = 0;
  for (; at < value.size(); ++at, ++digits) {
    char c = value[at];
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) break;
    n = n * 16 + static_cast<uint64_t>(d);
    if (n > 0xFFFFFFFFu) return false;
  }
  return digits > 0 && static_cast<int64_t>(n) == crcId;
}
