#pragma once
// The download plan: which images go to the unit with which command word, and how the unit is
// brought back after each (it restarts by itself, or it is rebooted). A pure function of the image
// set and of what the unit said, so every plan can be checked without a unit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct VkcDownloadStep {
  enum Kind { kLoad, kWaitRbt, kSysInit, kReboot };
  Kind kind = kLoad;
  int index = -1;          // Load: -1 the main image, else the extra image's index
  std::string word;        // Load: the command word after "XMOD "
  bool mainImage = false;  // Reboot
  int bootImage = -1;      // Reboot: 8 boots the image set, -1 the plain boot
  bool operator==(const VkcDownloadStep&) const = default;
};

struct VkcDownloadInputs {
  bool hasMain = false;
  size_t extras = 0;
  bool multi = false;
  bool startup = false;          // the unit restarts by itself after a load
  bool unitHasMainImage = false;  // the unit reports a main image of its own
  bool crcMatches = false;       // the unit already holds this set's main image
};

std::vector<VkcDownloadStep> BuildDownloadPlan(const VkcDownloadInputs& in);

// True when the unit restarts by itself after a load: it runs its start-up code (product -1), or
// its software's major version is 2.
bool DownloadStartupFlag(int productId, const std::string& softwareVersion);

// True when a "@CRCID" answer (result code and value text, hexadecimal) names the set's identifier.
bool DownloadCrcIdMatches(int code, const std::string& value, int64_t crcId);
