// Initialising the KEV400Rx(UHFSSRX) against the simulated unit: a narrow-band unit is left alone,
// any other is switched with "NB 1", waited for through its restart and returned to command mode.

#include <gtest/gtest.h>

#include "devices/VkcDeviceManager.h"
#include "devices/VkcDeviceUHFSSRX_UHF.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimCommandsReboot.h"
#include "sim/SimUnit.h"

namespace {

class ReceiverInit : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetTimeScale(0.05);
    manager_.RegisterPrototypes();
    sim::RebootOptions reboot;
    reboot.bannerDelayMs = 3000;  // after the program has settled and listens again
    sim::InstallReboot(unit_, reboot);
    ASSERT_TRUE(port_.Open(unit_.SlavePath16(), 115200, 8, 0, 0));
    VkcDeviceUHFSSRX_UHF::SetUnitAccess({[this] { return &port_; },
                                         [this] {
                                           ++commandModeSwitches_;
                                           return true;
                                         }});
    device_ = dynamic_cast<const VkcDeviceUHFSSRX_UHF*>(manager_.GetDevice(VkcDeviceUHFSSRX_UHF::kKey));
    ASSERT_NE(device_, nullptr);
  }
  void TearDown() override {
    VkcDeviceUHFSSRX_UHF::SetUnitAccess({});
    port_.Close();
    platform::SetTimeScale(1.0);
  }
  bool Sent(const std::string& line) const {
    for (const auto& c : unit_.Commands()) {
      if (c == line) return true;
    }
    return false;
  }

  sim::SimUnit unit_;
  VkcSerialPort port_;
  VkcDeviceManager manager_;
  const VkcDeviceUHFSSRX_UHF* device_ = nullptr;
  int commandModeSwitches_ = 0;
  platform::RecordingWindow window_;
};

TEST_F(ReceiverInit, NarrowBandUnitIsLeftAlone) {
  unit_.SetAnswer("INFO", "KEV400RX 1.2\r\n@00\r\n");
  EXPECT_TRUE(device_->InitializeDevice(window_.Handle()));
  EXPECT_FALSE(Sent("NB 1"));
  EXPECT_EQ(commandModeSwitches_, 0);
  ASSERT_TRUE(window_.WaitForMessage(kMsgProgress, kProgressMailbox, 1000));
  EXPECT_EQ(device_->GetLog().TakeTextUtf8(), "Initializing device\r\n");
}

TEST_F(ReceiverInit, OtherFirmwareIsSwitchedAndRestarted) {
  unit_.SetAnswer("INFO", "UHFSSRX FH 1.0\r\n@00\r\n");
  unit_.SetAnswer("NB 1", "@00\r\n");
  EXPECT_TRUE(device_->InitializeDevice(0));
  EXPECT_TRUE(Sent("NB 1"));
  EXPECT_TRUE(Sent("BOOT"));
  EXPECT_EQ(commandModeSwitches_, 1);
}

TEST_F(ReceiverInit, SilenceFails) {
  unit_.SetSilent(true);
  EXPECT_FALSE(device_->InitializeDevice(0));
  unit_.SetSilent(false);
  unit_.SetAnswer("INFO", "UHFSSRX FH 1.0\r\n@00\r\n");
  unit_.SetAnswer("NB 1", "@01\r\n");  // refused: no restart is awaited
  EXPECT_FALSE(device_->InitializeDevice(0));
  EXPECT_FALSE(Sent("BOOT"));
  EXPECT_EQ(commandModeSwitches_, 0);
}

}  // namespace
