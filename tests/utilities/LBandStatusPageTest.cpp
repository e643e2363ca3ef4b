// The L-band Status page end to end: Start polls the simulated L-band receiver and shows its
// texts, Stop ends the poll within a second and gives the lock back.

#include <gtest/gtest.h>

#include "sim/SimLband.h"
#include "UtilityPageUnit.h"
#include "utilities/VkcPPLBState.h"

namespace {

using M = VkcPPLBStateModel;
using utiltest::PumpUntil;
using utiltest::Text;

TEST(LBandStatusPage, PollsShowsAndStops) {
  utiltest::PageUnit u(36);
  ASSERT_TRUE(u.opened);
  sim::SimLband lband(u.unit);
  VkcPPLBState page;
  page.SetPageHost(&u.host);
  page.RefreshPage();
  ASSERT_TRUE(utiltest::Control<QPushButton>(page, M::kStartStop)->isEnabled());

  // Reset BER while idle shows at once and goes out at the first poll.
  utiltest::Click(page, M::kResetBer);
  EXPECT_EQ(Text(page, M::kBer), "0E-0");
  utiltest::Click(page, M::kStartStop);
  EXPECT_EQ(Text(page, M::kStartStop), "Stop");
  EXPECT_TRUE(u.host.IsProcessRunning());
  ASSERT_TRUE(PumpUntil([&] { return Text(page, M::kRssi) == "-120 dBm"; }, 10000));
  EXPECT_EQ(Text(page, M::kFrequency), "1545525000 Hz");
  EXPECT_EQ(Text(page, M::kSymbolRate), "4576.19");
  EXPECT_EQ(Text(page, M::kUniqueWord), "Unique word is confirmed");
  EXPECT_EQ(Text(page, M::kQuality), "8");
  EXPECT_EQ(Text(page, M::kBer), "1.2E-5");
  EXPECT_EQ(Text(page, M::kServiceId), "OMNI");
  EXPECT_EQ(lband.ResetCount(), 1);

  utiltest::Click(page, M::kStartStop);
  EXPECT_TRUE(PumpUntil([&] { return Text(page, M::kStartStop) == "Start"; }, 10000));
  EXPECT_FALSE(u.host.IsProcessRunning());
  EXPECT_TRUE(u.host.messages.empty());
  // Data mode and the stored route after the run, in the progress dialog.
  ASSERT_EQ(u.host.runs.size(), 2u);
  EXPECT_EQ(u.host.runs[1].tasks.front().operation, 1u);
}

TEST(LBandStatusPage, GatedByTheDeviceAndRefusedWhileLocked) {
  utiltest::PageUnit u(3601);  // a beacon has no L-band status
  VkcPPLBState page;
  page.SetPageHost(&u.host);
  page.RefreshPage();
  EXPECT_FALSE(utiltest::Control<QPushButton>(page, M::kStartStop)->isEnabled());
  EXPECT_FALSE(utiltest::Control<QPushButton>(page, M::kResetBer)->isEnabled());

  u.host.System().SetCurrentDevice(u.host.DeviceManager().GetDevice(36));
  page.RefreshPage();
  ASSERT_TRUE(u.host.LockProcess(&u));
  utiltest::Click(page, M::kStartStop);
  EXPECT_EQ(u.host.LastMessage(), "Unable to run L-Band status querying process.\nAnother process is running");
  u.host.UnlockProcess(&u);
  // A unit that does not switch to its command line: the lock is given back.
  u.host.results.push_back({2, 1, false});
  utiltest::Click(page, M::kStartStop);
  EXPECT_EQ(u.host.LastMessage(), "Unable to switch to command mode");
  EXPECT_EQ(Text(page, M::kStartStop), "Start");
  EXPECT_FALSE(u.host.IsProcessRunning());
}

}  // namespace
