#include "unit/NetworkSurveyReplies.h"

#include <algorithm>
#include <limits>

#include "link/AsciiClass.h"

namespace survey {

namespace {

// The decimal digits at text's start (none: 0), saturating at the int range.
int LeadingNumber(std::string_view text) {
  long long v = 0;
  for (size_t i = 0; i < text.size() && ascii::IsDigit(text[i]); ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  }
  return static_cast<int>(v);
}

}  // namespace

ParamMap InitialParams() {
  struct Initial {
    const char* section;
    const char* key;
    int value;
  };
  static constexpr Initial kInitial[] = {
      {"LINK", "PROT", 1},         {"LINK", "MOD", 1},       {"LINK", "PWRB", 13},      {"LINK", "PWRW", 20},
      {"LINK", "CHAN", 0},         {"LINK", "FHOP", 0},      {"LINK", "SCRAM", 0},      {"LINK", "FEC", 1},
      {"DPORT", "RATE", 0},        {"DPORT", "BITS", 8},     {"DPORT", "PARITY", 0},    {"DPORT", "FLOW", 0},
      {"MPORT", "RATE", 9},        {"STATE", "TTL1", 0},     {"STATE", "TTL2", 0},      {"STATE", "RSSI", 0},
      {"STATE", "BER", 0},         {"STATE", "FREQ", 0},     {"INFO", "Product ID", 0}, {"INFO", "S/N", 0},
      {"INFO", "Hardware", 0},     {"INFO", "Software", 0},  {"INFO", "BootLoader", 0},
  };
  ParamMap map;
  for (const Initial& i : kInitial) map[i.section][i.key].FromInt(i.value);
  return map;
}

std::vector<UnitId> ParseRemoteList(std::string_view reply) {
  std::vector<UnitId> list;
  size_t start = 0;
  while (start < reply.size()) {
    const size_t end = reply.find('\n', start);
    // A line without its line end may be cut short (a reply longer than its buffer): not a unit.
    if (end == std::string_view::npos) break;
    std::string_view line = reply.substr(start, end - start);
    start = end + 1;

    size_t i = 0;
    while (i < line.size() && ascii::IsSpace(line[i])) ++i;
    if (i == line.size() || !ascii::IsDigit(line[i])) continue;
    const size_t numberStart = i;
    while (i < line.size() && !ascii::IsSpace(line[i])) ++i;
    const int number = LeadingNumber(line.substr(numberStart, i - numberStart));
    while (i < line.size() && ascii::IsSpace(line[i])) ++i;
    std::string hex;
    for (; i < line.size(); ++i) {
      const char c = line[i];
      if (ascii::IsDigit(c) || (c >= 'A' && c <= 'F')) hex.push_back(c);
    }
    if (number == 0) continue;
    UnitId id;
    id.Parse(std::string_view(hex));
    list.push_back(id);
  }
  return list;
}

void ParseGroupReply(std::string_view reply, std::map<std::string, ParamValue>& section) {
  for (auto& [key, value] : section) {
    if (key.empty()) continue;
    const size_t at = reply.find(key);
    if (at == std::string_view::npos) continue;
    size_t i = std::min(reply.size(), at + key.size() + 1);  // the key and its separator
    while (i < reply.size() && (reply[i] == ' ' || reply[i] == '=')) ++i;
    size_t end = i;
    // A CR ends the value; so does a lone LF, so a unit that ends lines with LF alone does not
    // run one value into the next.
    while (end < reply.size() && reply[end] != '\r' && reply[end] != '\n') ++end;
    value.value.assign(reply.substr(i, end - i));
  }
}

int ParseResultCode(std::string_view reply) {
  const size_t at = reply.find("@0");
  if (at == std::string_view::npos) return -1;
  return LeadingNumber(reply.substr(at + 1));
}

int ParseAtCode(std::string_view reply) {
  const size_t at = reply.find('@');
  if (at == std::string_view::npos) return -1;
  return LeadingNumber(reply.substr(at + 1));
}

}  // namespace survey
