// The survey's reply parsers: the remote list, a group's values and the result codes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/NetworkSurveyReplies.h"

namespace {

TEST(NetworkSurveyReplies, RemoteListSkipsEntryZeroAndLinesWithoutNumber) {
  struct Case {
    const char* reply;
    std::vector<uint64_t> ids;
  } cases[] = {
      {"  0 001A2B3C4D5E\r\n  1 00112233AABB\r\n  2 00112233AABC\r\n@00", {0x00112233AABB, 0x00112233AABC}},
      {"3 00-11-aa\n", {0x0011}},  // hyphens and lower-case letters are dropped
      {"\r\n\t7\t0123456789ABCDEF\r\n", {0x456789ABCDEF}},  // the last twelve digits
      {"@00\r\n\r\nx 5 AB\r\n", {}},
      {"12 ZZ\n", {0}},
      {"  1 00112233AABB\r\n  2 0011", {0x00112233AABB}},  // a line cut short is not a unit
      {"", {}},
  };
  for (const Case& c : cases) {
    std::vector<uint64_t> got;
    for (const UnitId& id : survey::ParseRemoteList(c.reply)) got.push_back(id.ToUInt64());
    EXPECT_EQ(got, c.ids) << c.reply;
  }
}

TEST(NetworkSurveyReplies, GroupValuesFollowKeyAndSeparator) {
  struct Case {
    const char* reply;
    const char* key;
    const char* value;
  } cases[] = {
      {"RSSI=-87\r\nBER=0\r\n@00", "RSSI", "-87"},
      {"CHAN 5\r\n", "CHAN", "5"},
      {"CHAN = 5\r\n", "CHAN", "5"},
      {"CHAN:5", "CHAN", "5"},
      {"FHOP=1\r\nFEC=", "FEC", ""},
      {"FEC", "FEC", ""},
      {"FREQ=433.125 MHz\r\n", "FREQ", "433.125 MHz"},
      {"RSSI=-87\nBER=0\n", "RSSI", "-87"},
      {"@00", "RSSI", "initial"},  // absent: the value stays
  };
  for (const Case& c : cases) {
    std::map<std::string, ParamValue> section;
    section[c.key].value = "initial";
    survey::ParseGroupReply(c.reply, section);
    EXPECT_EQ(section[c.key].value, c.value) << c.reply;
  }
  // Key order in the reply does not matter; a key absent keeps its initial value.
  ParamMap map = survey::InitialParams();
  survey::ParseGroupReply("FEC=0\r\nPROT=7\r\nMOD=3\r\n@00\r\n", map["LINK"]);
  EXPECT_EQ(map["LINK"]["FEC"].value, "0");
  EXPECT_EQ(map["LINK"]["PROT"].value, "7");
  EXPECT_EQ(map["LINK"]["MOD"].value, "3");
  EXPECT_EQ(map["LINK"]["PWRB"].value, "13");
}

TEST(NetworkSurveyReplies, InitialParametersInNameOrder) {
  const ParamMap map = survey::InitialParams();
  std::vector<std::string> sections;
  for (const auto& [name, keys] : map) sections.push_back(name);
  EXPECT_EQ(sections, (std::vector<std::string>{"DPORT", "INFO", "LINK", "MPORT", "STATE"}));
  std::string info;
  for (const auto& [key, value] : map.at("INFO")) info += key + "=" + value.value + ";";
  EXPECT_EQ(info, "BootLoader=0;Hardware=0;Product ID=0;S/N=0;Software=0;");
  std::string link;
  for (const auto& [key, value] : map.at("LINK")) link += key + "=" + value.value + ";";
  EXPECT_EQ(link, "CHAN=0;FEC=1;FHOP=0;MOD=1;PROT=1;PWRB=13;PWRW=20;SCRAM=0;");
  EXPECT_EQ(map.at("MPORT").at("RATE").value, "9");
  EXPECT_EQ(map.at("DPORT").at("BITS").value, "8");
}

TEST(NetworkSurveyReplies, ResultCodes) {
  struct Case {
    const char* reply;
    int afterAtZero;
    int afterAt;
  } cases[] = {
      {"@00\r\n", 0, 0},
      {"@05", 5, 5},
      {"Established\r\n@00", 0, 0},
      {"RATE=9\r\n@012\r\n", 12, 12},
      {"@13\r\n", -1, 13},
      {"@", -1, 0},
      {"no code", -1, -1},
      {"@099999999999", 2147483647, 2147483647},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(survey::ParseResultCode(c.reply), c.afterAtZero) << c.reply;
    EXPECT_EQ(survey::ParseAtCode(c.reply), c.afterAt) << c.reply;
  }
}

}  // namespace
