// The beacon almanac: the table parser, then whole queries against the simulated beacon receiver
// over a pseudo-terminal.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/VkcMessageIds.h"
#include "sim/SimAlmanac.h"
#include "unit/AlmanacSeriesStore.h"
#include "unit/VkcAlmanacUtilityController.h"
#include "UtilityTestUnit.h"

namespace {

using Controller = VkcAlmanacUtilityController;

TEST(AlmanacTable, SplitsAsALineReader) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"", {}}, {"a", {"a"}}, {"a,", {"a"}}, {",,,", {"", "", ""}}, {"a,,b", {"a", "", "b"}}, {",", {""}}};
  for (const auto& [text, want] : cases) {
    std::vector<std::string> got;
    for (auto piece : Controller::SplitString(text, ',')) got.emplace_back(piece);
    EXPECT_EQ(got, want) << text;
  }
}

TEST(AlmanacTable, ParsesStationsOrFailsWithItsMessage) {
  struct Case {
    std::string table;
    uint32_t result;
    std::string message;
    uint32_t count;
  };
  const std::vector<Case> cases = {
      {"287500,-80,1,12\r\n300000,-95,0,7", 0, "", 2},
      {"287500,-80,1,12\r\n300000,-95,0,7\n", 0, "", 2},
      {",,,,", 0, "", 1},
      {"287500,-80,1", 9, "Could not parse almanac table.", 0},
      {"287500,-80,1,12,5", 9, "Could not parse almanac table.", 0},
      {"287500,-80,1,12\n\n300000,-95,0,7", 9, "Could not parse almanac table.", 1},
      {",,,", 9, "Could not parse almanac table.", 0},
      {"", 9, "Could not parse almanac table.", 0},
      {"EMPTY\r", 10, "Almanac table is empty.", 0},
  };
  for (const Case& c : cases) {
    AlmanacSeriesStore store;
    EXPECT_EQ(Controller::ParseTable(c.table, store), c.result) << c.table;
    EXPECT_EQ(store.GetMessage(), c.message) << c.table;
    EXPECT_EQ(store.GetCount(), c.count) << c.table;
  }
  AlmanacSeriesStore store;
  ASSERT_EQ(Controller::ParseTable("287500,-80,1,12\r\n300000,-95,0,7\n1,2,2,3\n4,5,9,6", store), 0u);
  const auto s = store.GetStations();
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0].x0, 287.5);
  EXPECT_EQ(s[0].x1, 287.5);
  EXPECT_EQ(s[0].y0, -80.0);
  EXPECT_EQ(s[0].y1, -174.0);
  EXPECT_EQ(s[0].id, 12u);
  const std::vector<uint32_t> codes = {s[0].code, s[1].code, s[2].code, s[3].code};
  EXPECT_EQ(codes, (std::vector<uint32_t>{200, 100, 50, 100}));
  const std::vector<uint32_t> colors = {AlmanacSeriesStore::ColorOf(200), AlmanacSeriesStore::ColorOf(100),
                                        AlmanacSeriesStore::ColorOf(50)};
  EXPECT_EQ(colors, (std::vector<uint32_t>{0x71B33C, 0xFF0000, 0x0000FF}));
  EXPECT_FALSE(store.AddStation(1, 1, 1, 1));  // full
}

class AlmanacQuery : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(u.opened); }
  // Runs one query to its end: its notices.
  std::vector<intptr_t> Query() {
    u.window.Clear();
    controller.Start(u.window.Handle());
    EXPECT_TRUE(u.window.WaitForMessage(kMsgAlmanac, 3, 20000));
    controller.Join();
    return unittest::Notices(u.window, kMsgAlmanac);
  }
  unittest::UtilityUnit u{3601};
  sim::SimAlmanac almanac{u.unit};
  AlmanacSeriesStore store;
  Controller controller{u.system, store};
};

TEST_F(AlmanacQuery, FortyStationsAreReadWholeAndASecondQueryReplacesThem) {
  const std::vector<sim::SimStation> stations = sim::SimAlmanac::MakeStations(40);
  almanac.SetStations(stations);
  EXPECT_EQ(Query(), (std::vector<intptr_t>{1, 2, 3}));
  EXPECT_FALSE(controller.IsRunning());
  const auto got = store.GetStations();
  ASSERT_EQ(got.size(), 40u);
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].x0, stations[i].frequencyHz / 1000.0);
    EXPECT_EQ(got[i].y0, stations[i].level);
    EXPECT_EQ(got[i].id, static_cast<uint32_t>(stations[i].id));
  }
  EXPECT_GT(controller.GetTable().size(), 255u);
  almanac.SetStations(sim::SimAlmanac::MakeStations(3));
  EXPECT_EQ(Query(), (std::vector<intptr_t>{1, 2, 3}));
  EXPECT_EQ(store.GetCount(), 3u);
}

TEST_F(AlmanacQuery, FailuresEndWithTheirMessages) {
  struct Case {
    int master, table;
    std::string body;  // raw table reply, or empty for the stations
    std::string message;
  };
  const std::vector<Case> cases = {
      {sim::SimAlmanac::kNoReply, 0, "", "No response on command = LINK SAR 1\r\n"},
      {1, 0, "", "Could not switch to Beacon Master.\nError response = @01\r\n on command = LINK SAR 1\r\n"},
      {0, sim::SimAlmanac::kNoReply, "", "No response on command = SCAN ALMANAC\r\n"},
      {0, 0, "287500,-80,1,12@00\r\n",
       "Could not get almanac table.\nError response = 287500,-80,1,12@00\r\n on command = SCAN ALMANAC\r\n"},
      {0, 0, "EMPTY\r\n@00\r\n", "Almanac table is empty."},
      {0, 0, "287500,-80,1\r\n@00\r\n", "Could not parse almanac table."},
  };
  platform::SetTimeScale(0.2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    almanac.SetMasterReply(c.master);
    almanac.SetTableReply(c.table);
    if (!c.body.empty()) almanac.SetRawBody(c.body);
    EXPECT_EQ(Query(), (std::vector<intptr_t>{1, 0, 3}));
    EXPECT_EQ(store.GetMessage(), c.message);
    almanac.SetStations(sim::SimAlmanac::MakeStations(2));
  }
}

}  // namespace
