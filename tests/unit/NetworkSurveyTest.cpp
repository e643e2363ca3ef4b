// The network survey worker against a simulated network of remote units over a pseudo-terminal.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "link/Utf.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimSurvey.h"
#include "sim/SimUnit.h"
#include "unit/VkcNetworkSurvey.h"

namespace {

using Survey = VkcNetworkSurvey;
using platform::PostedMessage;

class NetworkSurvey : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(unit.IsOk());
    ASSERT_TRUE(port.Open(unit.SlavePath16(), 115200, 8, 0, 0));
  }
  void TearDown() override {
    survey.RequestStop();
    survey.Finish();
    port.Close();
    platform::SetTimeScale(1.0);
  }
  // Runs a survey to its end message; returns its error code (-1: it did not end in time).
  intptr_t RunToEnd(Survey::Mode mode, int which, uint32_t ms = 30000) {
    window.Clear();
    EXPECT_EQ(survey.Start(mode, which, window.Handle()), Survey::StartResult::kStarted);
    if (!window.WaitForMessage(kMsgProgress, kProgressSurveyEnd, ms)) return -1;
    survey.Finish();
    return window.Messages().back().lParam;
  }
  std::vector<PostedMessage> Progress() { return window.Messages(kMsgProgress); }
  static std::string Value(const ParamNode& node, const char* section, const char* key) {
    const ParamValue* v = node.Find(section, key);
    return v ? v->value : "<none>";
  }

  sim::SimUnit unit;
  sim::SimSurvey network{unit, sim::SimNetwork::Default()};
  VkcSerialPort port;
  Survey survey{[this] { return &port; }};
  platform::RecordingWindow window;
};

TEST_F(NetworkSurvey, NetworkListsEveryRemoteWithItsParametersAndGoesOnPastSilentOne) {
  platform::SetTimeScale(0.1);  // the silent remote's 14 s become 1.4 s
  // The page reads the tree while the worker writes it (a data race here fails under ThreadSanitizer).
  std::atomic<bool> done{false};
  std::thread reader([&] {
    while (!done) {
      ParamNode copy = survey.Snapshot();
      for (const ParamNode& child : copy.children) (void)Value(child, "LINK", "CHAN");
    }
  });
  EXPECT_EQ(RunToEnd(Survey::Mode::kNetwork, Survey::kLocalUnit), 0);
  done = true;
  reader.join();

  const ParamNode tree = survey.Snapshot();
  ASSERT_EQ(tree.children.size(), 5u);
  const char* ids[] = {"00112233AABB", "00112233AABC", "00112233AABD", "00112233AABE", "00112233AABF"};
  const bool answered[] = {true, true, false, false, true};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(tree.children[i].unitId.ToString(std::string_view()), ids[i]);
    EXPECT_EQ(tree.children[i].answered, answered[i]) << i;
  }
  EXPECT_EQ(Value(tree, "LINK", "CHAN"), "3");
  EXPECT_EQ(Value(tree, "INFO", "S/N"), "001A2B3C4D5E");
  EXPECT_TRUE(tree.answered);
  const ParamNode& first = tree.children[0];
  EXPECT_EQ(Value(first, "LINK", "CHAN"), "4");
  EXPECT_EQ(Value(first, "STATE", "RSSI"), "-81");
  EXPECT_EQ(Value(first, "STATE", "FREQ"), "433.125MHz");
  EXPECT_EQ(Value(first, "INFO", "Software"), "SW 3.2 Rev 5");
  EXPECT_EQ(Value(first, "DPORT", "RATE"), "5");
  // The second answers "STATE" with "@01": asked three times, then "INFO" is not asked; the
  // values read before stay, the rest keep their initial values.
  const ParamNode& second = tree.children[1];
  EXPECT_EQ(Value(second, "LINK", "CHAN"), "5");
  EXPECT_EQ(Value(second, "STATE", "RSSI"), "0");
  EXPECT_EQ(Value(second, "INFO", "Product ID"), "0");
  EXPECT_EQ(tree.children[2].params, nullptr);  // unreachable
  EXPECT_EQ(tree.children[3].params, nullptr);  // silent
  EXPECT_EQ(Value(tree.children[4], "STATE", "RSSI"), "-85");

  const std::vector<std::string> groups = {"LINK", "MPORT", "DPORT", "STATE", "INFO"};
  std::vector<std::string> expected = groups;
  expected.push_back("CONNECT");
  auto remote = [&](const char* id, std::vector<std::string> asked, bool exit) {
    expected.push_back(std::string("CONNECT ") + id);
    expected.insert(expected.end(), asked.begin(), asked.end());
    if (exit) expected.push_back("EXIT");
  };
  remote(ids[0], groups, true);
  remote(ids[1], {"LINK", "MPORT", "DPORT", "STATE", "STATE", "STATE"}, true);
  remote(ids[2], {}, false);
  remote(ids[3], {}, false);
  remote(ids[4], groups, true);
  EXPECT_EQ(unit.Commands(), expected);

  // Each unit is announced before it is queried and the tree redrawn after it.
  std::vector<intptr_t> announced;
  for (const PostedMessage& m : Progress())
    if (m.wParam == kProgressSurveyUnit) announced.push_back(m.lParam);
  EXPECT_EQ(announced, (std::vector<intptr_t>{-1, 0, 1, 2, 3, 4}));
  EXPECT_EQ(Progress().size(), 1u + 1 + 1 + 5 * 2 + 1);
}

TEST_F(NetworkSurvey, LongRemoteListIsReadWholeAndOnlyListedUnitsAreAsked) {
  // Seventy remote units make a list of about 1.3 kB; the last line must not be cut into a unit.
  const sim::SimNetwork large = sim::SimNetwork::Unreachable(70);
  sim::SimSurvey replaced{unit, large};
  ASSERT_EQ(RunToEnd(Survey::Mode::kNetwork, Survey::kLocalUnit), 0);
  std::vector<std::string> listed, asked;
  for (const ParamNode& child : survey.Snapshot().children) listed.push_back(child.unitId.ToString(std::string_view()));
  for (const std::string& command : unit.Commands())
    if (command.rfind("CONNECT ", 0) == 0) asked.push_back(command.substr(8));
  std::vector<std::string> expected;
  for (const sim::SimRemote& remote : large.remotes) expected.push_back(remote.id);
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(asked, expected);
}

TEST_F(NetworkSurvey, ARemoteListPastTheReplyBoundIsCutWithALogLine) {
  // 3,200 remote units make a list of about 45 kB more than the bound.
  sim::SimSurvey replaced{unit, sim::SimNetwork::Unreachable(3200)};
  ErrorLog().Clear();
  window.Clear();
  ASSERT_EQ(survey.Start(Survey::Mode::kNetwork, Survey::kLocalUnit, window.Handle()), Survey::StartResult::kStarted);
  // The first remote asked: the list has been read.
  ASSERT_TRUE(window.WaitFor([](const std::vector<PostedMessage>& m) {
    return std::any_of(m.begin(), m.end(), [](const PostedMessage& p) {
      return p.msg == kMsgProgress && p.wParam == kProgressSurveyUnit && p.lParam == 0;
    });
  }, 30000));
  survey.RequestStop();
  survey.Finish();
  const size_t listed = survey.Snapshot().children.size();
  EXPECT_GT(listed, 3000u);
  EXPECT_LT(listed, 3200u);
  const std::string log = Utf16ToUtf8(ErrorLog().GetText());
  const std::string line = "longer than 65535 bytes; the " + std::to_string(listed) + " units read from it";
  EXPECT_NE(log.find(line), std::string::npos) << log;
  EXPECT_EQ(log.find(line, log.find(line) + 1), std::string::npos) << log;
  ErrorLog().Clear();
}

TEST_F(NetworkSurvey, StopDuringSilentRemoteSendsExitAndEndsWithoutErrorWithinASecond) {
  window.Clear();
  ASSERT_EQ(survey.Start(Survey::Mode::kNetwork, Survey::kLocalUnit, window.Handle()), Survey::StartResult::kStarted);
  ASSERT_TRUE(window.WaitForMessage(kMsgProgress, kProgressSurveyUnit, 10000)) << "never reached any unit";
  ASSERT_TRUE(window.WaitFor(
      [](const std::vector<PostedMessage>& ms) {
        return std::find(ms.begin(), ms.end(), PostedMessage{kMsgProgress, kProgressSurveyUnit, 3}) != ms.end();
      },
      10000));
  ASSERT_TRUE(unit.WaitForReceived("CONNECT 00112233AABE\r", 2000));
  survey.RequestStop();
  // Stop ends the survey within a second, without an error.
  ASSERT_TRUE(window.WaitForMessage(kMsgProgress, kProgressSurveyEnd, 1000));
  EXPECT_EQ(window.Messages().back(), (PostedMessage{kMsgProgress, kProgressSurveyEnd, 0}));
  survey.Finish();
  EXPECT_FALSE(survey.IsRunning());
  EXPECT_EQ(unit.Commands().back(), "EXIT");
  EXPECT_EQ(unit.Commands().size(), 5u + 1 + 7 + 8 + 1 + 1 + 1);
  EXPECT_EQ(survey.Snapshot().children[4].params, nullptr);  // never reached
}

TEST_F(NetworkSurvey, OneUnitQueriesOnlyThatUnit) {
  platform::SetTimeScale(0.1);
  ASSERT_EQ(RunToEnd(Survey::Mode::kNetwork, Survey::kLocalUnit), 0);
  unit.ClearRecord();
  ASSERT_EQ(RunToEnd(Survey::Mode::kUnit, 4), 0);
  EXPECT_EQ(unit.Commands(),
            (std::vector<std::string>{"CONNECT 00112233AABF", "LINK", "MPORT", "DPORT", "STATE", "INFO", "EXIT"}));
  unit.ClearRecord();
  ASSERT_EQ(RunToEnd(Survey::Mode::kUnit, Survey::kLocalUnit), 0);
  EXPECT_EQ(unit.Commands(), (std::vector<std::string>{"LINK", "MPORT", "DPORT", "STATE", "INFO"}));
  // A unit beyond the list is a failure of the survey.
  EXPECT_EQ(RunToEnd(Survey::Mode::kUnit, 9), 1);
  EXPECT_EQ(survey.Snapshot().children.size(), 5u);
}

TEST_F(NetworkSurvey, UnitFailuresEndTheSurveyWithCodeOne) {
  platform::SetTimeScale(0.02);
  struct Case {
    const char* what;
    std::function<void()> fault;
    size_t remotes;
  } cases[] = {
      {"EXIT unanswered", [this] { unit.AddCommandHandler("EXIT", [](sim::SimUnit&, const std::string&) {}); }, 5},
      {"no remote list", [this] { unit.SetAnswer("CONNECT", "@11\r\n"); }, 0},
  };
  for (const Case& c : cases) {
    c.fault();
    survey.ClearRemotes();
    EXPECT_EQ(RunToEnd(Survey::Mode::kNetwork, Survey::kLocalUnit), 1) << c.what;
    EXPECT_EQ(survey.RemoteCount(), c.remotes) << c.what;
  }
}

TEST_F(NetworkSurvey, FailedStartLeavesTheSurveyIdleAndANewUnitDropsTheTree) {
  survey.FailNextStart();
  EXPECT_EQ(survey.Start(Survey::Mode::kNetwork, Survey::kLocalUnit, window.Handle()), Survey::StartResult::kNoThread);
  EXPECT_FALSE(survey.IsRunning());
  platform::SetTimeScale(0.1);
  ASSERT_EQ(RunToEnd(Survey::Mode::kUnit, Survey::kLocalUnit), 0);
  EXPECT_NE(survey.Snapshot().params, nullptr);

  UnitId other;
  other.FromUInt64(0x123);
  survey.SetLocalUnit(other);
  const ParamNode tree = survey.Snapshot();
  EXPECT_EQ(tree.unitId, other);
  EXPECT_EQ(tree.params, nullptr);
  EXPECT_TRUE(tree.children.empty());
}

}  // namespace
