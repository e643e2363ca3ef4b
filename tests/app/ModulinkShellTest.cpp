#include "app/ModulinkShell.h"

#include <gtest/gtest.h>

#include "FakeShellUnit.h"

namespace {

struct FakeView : ShellView {
  FakeShellUnit& unit;
  explicit FakeView(FakeShellUnit& u) : unit(u) {}
  std::vector<std::vector<ShellTask>> runs;
  std::vector<std::u16string> captions;
  ShellRun next{1, 0};
  bool applyOk = true;
  bool passThroughOff = true;
  ModulinkShell* shell = nullptr;
  const void* ownerDuringRun = nullptr;

  ShellRun RunTasks(const std::u16string& caption, const std::vector<ShellTask>& tasks) override {
    runs.push_back(tasks);
    captions.push_back(caption);
    unit.calls.push_back("run");
    if (shell) ownerDuringRun = shell->LockOwner();
    return next;
  }
  void RefreshAllPages() override { unit.calls.push_back("refresh"); }
  bool ApplyAllPages() override {
    unit.calls.push_back("apply");
    return applyOk;
  }
  bool IsPassThroughOff() const override { return passThroughOff; }
  void PrepareExit() override { unit.calls.push_back("prepare exit"); }
};

struct ShellFixture : ::testing::Test {
  FakeShellUnit unit;
  FakeView view{unit};
  ModulinkShell shell{unit, view};
  int a = 0, b = 0;
  ShellFixture() { view.shell = &shell; }
};

TEST_F(ShellFixture, LockMatrix) {
  EXPECT_TRUE(shell.LockProcess(&a));
  EXPECT_FALSE(shell.LockProcess(&a));
  EXPECT_FALSE(shell.LockProcess(&b));
  EXPECT_FALSE(shell.UnlockProcess(&b));
  EXPECT_EQ(shell.LockOwner(), &a);
  EXPECT_TRUE(shell.UnlockProcess(&a));
  EXPECT_TRUE(shell.UnlockProcess(&a));
  EXPECT_FALSE(shell.IsProcessRunning());
}

TEST_F(ShellFixture, IdentifyRefusalsLeaveTheLockRight) {
  ASSERT_TRUE(shell.LockProcess(&b));
  EXPECT_FALSE(shell.IdentifyUnit(&a));
  EXPECT_EQ(unit.Texts().back(), "Unable to run identification process.\nAnother process is running");
  EXPECT_EQ(shell.LockOwner(), &b);
  shell.UnlockProcess(&b);

  unit.portOpen = false;
  EXPECT_FALSE(shell.IdentifyUnit(&a));
  EXPECT_EQ(unit.Texts().back(), "Communication port is not open");
  EXPECT_FALSE(shell.IsProcessRunning());

  unit.portOpen = true;
  unit.iface = 6;
  EXPECT_FALSE(shell.IdentifyUnit(&a));
  EXPECT_EQ(unit.Texts().back(),
            "The communication with radio modem is not enabled through selected Device interface.");
  EXPECT_FALSE(shell.IsProcessRunning());
  EXPECT_TRUE(view.runs.empty());

  unit.iface = 3;
  EXPECT_TRUE(shell.IdentifyUnit(&a));
  unit.iface = 6;
  view.passThroughOff = false;
  EXPECT_TRUE(shell.IdentifyUnit(&a));
  EXPECT_EQ(view.runs.back(), (std::vector<ShellTask>{{0, 1006}, {7, 0}}));
}

TEST_F(ShellFixture, IdentifyResults) {
  unit.messages.clear();
  unit.calls.clear();
  EXPECT_TRUE(shell.IdentifyUnit(&a));
  EXPECT_EQ(view.ownerDuringRun, &a);
  EXPECT_EQ(unit.calls, (std::vector<std::string>{"run", "rate", "refresh"}));
  EXPECT_TRUE(unit.messages.empty());
  EXPECT_FALSE(shell.IsProcessRunning());

  view.next = {2, 1};
  unit.calls.clear();
  EXPECT_FALSE(shell.IdentifyUnit(&a));
  EXPECT_EQ(unit.messages.back().text, "Unable to upload parameters");
  EXPECT_TRUE(unit.messages.back().hint);
  // The rate is not stored after a failure, but pages stop showing the old unit.
  EXPECT_EQ(unit.calls, (std::vector<std::string>{"run", "message", "refresh"}));

  view.next = {2, 6};
  EXPECT_FALSE(shell.IdentifyUnit(&a));
  EXPECT_EQ(unit.messages.back().text, "Could not upload MCU parameters");
  EXPECT_FALSE(unit.messages.back().hint);
  const size_t shown = unit.messages.size();
  view.next = {2, 0};  // stopped
  EXPECT_FALSE(shell.IdentifyUnit(&a));
  EXPECT_EQ(unit.messages.size(), shown);

  view.next = {1, 0};
  unit.productId = -1;
  view.ownerDuringRun = nullptr;
  EXPECT_TRUE(shell.IdentifyUnit(&a));
  EXPECT_EQ(unit.messages.back().text, "Unit does not contain firmware");
  EXPECT_FALSE(shell.IsProcessRunning());
}

// The MCU route's refresh and restore run in the same progress dialog as the four unit tasks, the
// restore whatever the outcome; nothing waits on the unit from the window's thread.
TEST_F(ShellFixture, SendRunsTheFourTasksBetweenTheRouteTasks) {
  struct NoTarget : VkiPostProcess {
    uint32_t Process(uint32_t, intptr_t, platform::WindowHandle, platform::Event&) override { return 0; }
  } route;
  unit.calls.clear();
  shell.SendToRadio(&a);
  ASSERT_EQ(view.runs.size(), 1u);
  EXPECT_EQ(view.runs[0], (std::vector<ShellTask>{{4, 6}, {2, 6}, {8, 0}, {3, -1}}));  // no MCU controller
  EXPECT_EQ(view.captions[0], u"Sending configuration to radio");
  EXPECT_EQ(view.ownerDuringRun, &a);
  EXPECT_EQ(unit.calls, (std::vector<std::string>{"apply", "run", "rate", "refresh"}));
  EXPECT_FALSE(shell.IsProcessRunning());

  unit.route = &route;
  unit.factory = true;
  shell.SendToRadio(&a);
  EXPECT_EQ(view.runs[1], (std::vector<ShellTask>{{0, 0, &route}, {4, 7}, {2, 7}, {8, 0}, {3, -1},
                                                  {1, 0, &route, true}}));

  for (auto [code, text, hint] : std::vector<std::tuple<uint32_t, std::string, bool>>{
           {1, "Unable to download parameters", true},
           {2, "Unable to communicate with the unit", false},
           {5, "Could not download MCU parameters.", false}}) {
    view.next = {2, code};
    unit.calls.clear();
    shell.SendToRadio(&a);
    EXPECT_EQ(unit.messages.back().text, text);
    EXPECT_EQ(unit.messages.back().hint, hint);
    EXPECT_EQ(unit.calls, (std::vector<std::string>{"apply", "run", "message", "rate", "refresh"}));
    EXPECT_FALSE(shell.IsProcessRunning());
  }
}

TEST_F(ShellFixture, SendRefusesBeforeTouchingTheUnit) {
  // Another operation runs: nothing is applied and no route traffic reaches the port.
  shell.LockProcess(&b);
  unit.calls.clear();
  shell.SendToRadio(&a);
  EXPECT_EQ(unit.Texts().back(), "Unable to run download process.\nAnother process is running");
  EXPECT_EQ(unit.calls, (std::vector<std::string>{"message"}));
  EXPECT_EQ(shell.LockOwner(), &b);
  shell.UnlockProcess(&b);

  // No identified unit: its empty images are never sent.
  unit.productId = 0;
  unit.calls.clear();
  shell.SendToRadio(&a);
  EXPECT_EQ(unit.Texts().back(), "Invalid product ID");
  EXPECT_EQ(unit.calls, (std::vector<std::string>{"message"}));
  unit.productId = 3;

  view.applyOk = false;
  unit.calls.clear();
  shell.SendToRadio(&a);
  EXPECT_EQ(unit.Texts().back(), "Unable to Save Data");
  EXPECT_EQ(unit.calls, (std::vector<std::string>{"apply", "message"}));
  view.applyOk = true;

  unit.portOpen = false;
  shell.SendToRadio(&a);
  EXPECT_EQ(unit.Texts().back(), "Communication port is not open");
  EXPECT_TRUE(view.runs.empty());
  EXPECT_FALSE(shell.IsProcessRunning());
}

TEST_F(ShellFixture, CloseRule) {
  shell.LockProcess(&b);
  EXPECT_FALSE(shell.ConfirmClose());
  EXPECT_EQ(unit.Texts().back(),
            "Another process is running.\r\nPlease wait until it is finished then close the application.");
  shell.UnlockProcess(&b);
  unit.answer = 7;
  unit.calls.clear();
  EXPECT_FALSE(shell.ConfirmClose());
  EXPECT_EQ(unit.Texts().back(), "Do you want to exit the program?\nAll unsaved data will be lost");
  EXPECT_EQ(unit.messages.back().flags & 0xF, 4u);
  EXPECT_EQ(unit.calls, (std::vector<std::string>{"message"}));
  unit.answer = 6;
  EXPECT_TRUE(shell.ConfirmClose());
  EXPECT_EQ(unit.calls.back(), "prepare exit");
}

TEST(ShellTitle, Formats) {
  const uint8_t bytes[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  EXPECT_EQ(ModulinkShell::FormatTitle(0, u"\\\\.\\COM3", u"", 0, UnitId()), u"Modulink - COM3");
  EXPECT_EQ(ModulinkShell::FormatTitle(0, u"/dev/ttyUSB0", u"", 0, UnitId()), u"Modulink - ttyUSB0");
  EXPECT_EQ(ModulinkShell::FormatTitle(0, u"COM3", u"", 0, UnitId(bytes)), u"Modulink - COM3  (00-1A-2B-3C-4D-5E)");
  EXPECT_EQ(ModulinkShell::FormatTitle(1, u"COM3", u"host", 8002, UnitId()), u"Modulink - host:8002");
  EXPECT_EQ(ModulinkShell::FormatTitle(2, u"COM3", u"host", 8002, UnitId()), u"Modulink - ");
}

}  // namespace
