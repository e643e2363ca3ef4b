// The Quorl receiver gateway end to end: the program's serial port (a pseudo-terminal) reaches the
// simulated GNSS receiver, whose port c is chained to the simulated radio.

#include <gtest/gtest.h>

#include "support/ControlCharacters.h"

#include <memory>

#include "devices/VkcDevIfOvrin.h"
#include "devices/VkcDevIfVelkor.h"
#include "devices/VkcDeviceManager.h"
#include "link/VkcCfgArchiver.h"
#include "link/VkcConfiguration.h"
#include "link/VkcErrorProcessor.h"
#include "link/VkcLoader.h"
#include "link/VkcLogMessage.h"
#include "link/VkcMemoryStream.h"
#include "link/VkcMessageIds.h"
#include "link/VkcSerialPort.h"
#include "platform/Messages.h"
#include "platform/Timing.h"
#include "sim/SimGnss.h"
#include "sim/SimIdent.h"
#include "sim/SimUnit.h"
#include "sim/SimXmodFiles.h"

namespace {

using sim::SimGnss;

TEST(GatewayScripts, ReceiverPortIsWrittenWhereTheScriptsNameIt) {
  VkcDevIfOvrin gw;
  EXPECT_EQ(gw.GetReceiverPortPath(), "dev/ser/c");
  gw.SelectReceiverPort(2);
  const auto& open = *gw.GetOpenScript();
  ASSERT_EQ(open.size(), 9u);
  EXPECT_EQ(open[0], "%%set,cur/term/echo,/dev/null\r\n");
  EXPECT_EQ(open[2], "%%dm,dev/ser/c\r\n");
  EXPECT_EQ(open[8], "%%set,cur/term/echo,/dev/ser/c\r\n");
  const auto& close = *gw.GetCloseScript();
  ASSERT_EQ(close.size(), 5u);
  EXPECT_EQ(close[0], "#OFF#\r\n");
  EXPECT_EQ(close[4], "%%set,dev/ser/c/imode,cmd\r\n");

  gw.SelectReceiverPort(0);
  const auto& a = *gw.GetOpenScript();
  EXPECT_EQ(a[2], "%%dm,dev/ser/a\r\n");
  EXPECT_EQ(a[3], "%%set,dev/ser/a/echo,/dev/null\r\n");
  EXPECT_EQ(a[4], "%%set,dev/ser/a/imode,echo\r\n");
  EXPECT_EQ(a[5], "%%set,dev/ser/a/echo,/cur/term\r\n");
  EXPECT_EQ(a[6], "%%set,cur/term/eoff,\"#OFF#\"\r\n");
  EXPECT_EQ(a[8], "%%set,cur/term/echo,/dev/ser/a\r\n");
  EXPECT_EQ((*gw.GetCloseScript())[3], "%%set,dev/ser/a/echo,/dev/null\r\n");
  gw.SelectReceiverPort(7);  // not a receiver port: unchanged
  EXPECT_EQ(gw.GetReceiverPortPath(), "dev/ser/a");
}

TEST(GatewayScripts, MessageListAnswers) {
  struct Case {
    const char* answer;
    std::vector<std::string> restore;
  };
  const Case cases[] = {
      {"RE004%%{}\r\n", {}},
      {"{}", {}},
      {"RE00E%%{GGA=1.00}\r\n", {"%%em,/dev/ser/c,GGA:1.00"}},
      {"RE01C%%{GGA=1.00,\r\n        ZDA=5.00}\r\n", {"%%em,/dev/ser/c,GGA:1.00", "%%em,/dev/ser/c,ZDA:5.00"}},
      // Only the first "=" turns into ":".
      {"{A=b=c}\r\n", {"%%em,/dev/ser/c,A:b=c"}},
      // Short, cut or missing answers restore nothing and never read past their end.
      {"NULL", {}},
      {"RE0", {}},
      {"", {}},
      {"{", {}},
      {"{GGA=1.00,\r\n  ZDA\r\n", {"%%em,/dev/ser/c,GGA:1.00"}},
      // Each line closed: the first line's "}" does not end the list.
      {"RE01C%%{GGA=1.00}\r\n        ZDA=5.00}\r\n        GSV=9.00}\r\n",
       {"%%em,/dev/ser/c,GGA:1.00", "%%em,/dev/ser/c,ZDA:5.00", "%%em,/dev/ser/c,GSV:9.00"}},
      // Another answer behind the list is not part of it.
      {"{GGA=1.00}\r\nRE004%%{}\r\n", {"%%em,/dev/ser/c,GGA:1.00"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    EXPECT_EQ(VkcDevIfOvrin::ParseRestoreList(c.answer, "dev/ser/c"), c.restore);
  }
}

class GatewayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Receiver answers pass two pseudo-terminals: leave them room on a busy machine.
    platform::SetTimeScale(0.2);
    ErrorLog().Clear();
    sim::IdentOptions options;
    options.modelKey = "48";
    ident_ = std::make_unique<sim::SimIdent>(unit_, options);
    ASSERT_TRUE(unit_.IsOk());
    gnss_ = std::make_unique<SimGnss>(unit_.SlavePath());
    ASSERT_TRUE(gnss_->IsOk());
    ASSERT_TRUE(port_.Open(gnss_->SlavePath16(), 115200, 8, 0, 0));
    manager_.RegisterPrototypes();
    gw_ = dynamic_cast<VkcDevIfOvrin*>(manager_.GetInterface(VkcDevIfOvrin::kId));
    ASSERT_NE(gw_, nullptr);
  }
  void TearDown() override {
    port_.Close();
    platform::SetTimeScale(1.0);
  }

  int Open() { return gw_->OpenPassThrough(&port_, true, window_.Handle(), nullptr); }
  int Close() { return gw_->OpenPassThrough(&port_, false, window_.Handle(), nullptr); }

  std::unique_ptr<sim::SimIdent> ident_;  // outlives the unit's thread
  sim::SimUnit unit_;
  std::unique_ptr<SimGnss> gnss_;
  VkcSerialPort port_;
  VkcDeviceManager manager_;
  VkcDevIfOvrin* gw_ = nullptr;
  platform::RecordingWindow window_;
  std::unique_ptr<sim::SimXmodFiles> files_;  // goes before the receiver and the unit
};

// A configuration record (id, then the root) of a small tree carrying mark.
std::vector<uint8_t> Record(const std::string& mark) {
  VkcConfiguration cfg;
  for (int i = 0; i < 4; ++i) cfg.GetSection(mark).GetChildAt(i).SetString(mark + std::to_string(i));
  VkcMemoryStream s;
  VkcCfgArchiver ar;
  ar.Attach(s, false);
  EXPECT_TRUE(cfg.Save(ar));
  ar.Detach();
  return s.TakeBytes();
}

TEST_F(GatewayTest, IdentifiesTheRadioWhilePassingThroughAndRestoresTheReceiver) {
  // Before the pass-through the receiver does not understand the radio's commands.
  EXPECT_EQ(manager_.ProbeModelId(&port_, 0, nullptr), kDetectNoAnswer);

  ASSERT_EQ(Open(), 0);
  EXPECT_TRUE(gnss_->PassThroughLive());
  EXPECT_EQ(gw_->GetSavedPortEcho(), "/dev/null\r\n");
  EXPECT_EQ(gw_->GetSavedPortImode(), "cmd\r\n");
  EXPECT_EQ(gw_->GetSavedTermEcho(), "/dev/null\r\n");
  EXPECT_EQ(gw_->GetSavedTermImode(), "cmd\r\n");
  EXPECT_EQ(gw_->GetRestoreList(), (std::vector<std::string>{"%%em,/dev/ser/c,GGA:1.00", "%%em,/dev/ser/c,ZDA:5.00"}));
  EXPECT_TRUE(gnss_->Messages('c').empty());
  EXPECT_EQ(gnss_->Setting("dev/ser/c/echo"), "/cur/term");

  EXPECT_EQ(manager_.DetectModel(&port_, gw_, 0, nullptr), 48);
  EXPECT_NE(gnss_->ForwardedToRadio().find("INFO ID\r"), std::string::npos);

  ASSERT_EQ(Close(), 0);
  EXPECT_FALSE(gnss_->PassThroughLive());
  EXPECT_EQ(gnss_->Setting("dev/ser/c/echo"), "/dev/null");
  EXPECT_EQ(gnss_->Setting("dev/ser/c/imode"), "cmd");
  EXPECT_EQ(gnss_->Setting("cur/term/echo"), "/dev/null");
  EXPECT_EQ(gnss_->Setting("cur/term/imode"), "cmd");
  EXPECT_EQ(gnss_->Messages('c'), (std::vector<std::string>{"GGA=1.00", "ZDA=5.00"}));
  // The eoff text never reached the radio.
  EXPECT_EQ(gnss_->ForwardedToRadio().find("#OFF#"), std::string::npos);
  EXPECT_EQ(manager_.ProbeModelId(&port_, 0, nullptr), kDetectNoAnswer);
  EXPECT_TRUE(ErrorLog().Entries().empty());
}

TEST_F(GatewayTest, ReadsTheRadiosConfigurationThroughThePassThrough) {
  files_ = std::make_unique<sim::SimXmodFiles>(unit_);
  files_->SetBlockWait(1000);
  const std::vector<std::vector<uint8_t>> records = {Record("FACTORY"), Record("DEALER"), Record("USER")};
  files_->SetFile(sim::SimXmodFiles::kUploadName, sim::SimXmodFiles::BuildUpload(records));

  ASSERT_EQ(Open(), 0);
  ASSERT_EQ(manager_.DetectModel(&port_, gw_, 0, nullptr), 48);
  VkcLoader loader;
  VkcLogMessage mailbox;
  loader.SetPort(&port_);
  loader.SetProgressLog(&mailbox);
  ASSERT_TRUE(loader.StartReceive(sim::SimXmodFiles::kUploadName, true));
  EXPECT_EQ(loader.GetResult(), 0);
  EXPECT_NE(gnss_->ForwardedToRadio().find("XMOD CFGUP"), std::string::npos);
  ASSERT_TRUE(files_->WaitForTransfers(1, 1000));
  EXPECT_TRUE(files_->Transfers()[0].ok);
  for (int i = 0; i < 3; ++i) {
    VkcConfiguration got;
    ASSERT_TRUE(loader.ReadConfigurationSection(i, got)) << i;
    VkcMemoryStream s;
    VkcCfgArchiver ar;
    ar.Attach(s, false);
    got.Save(ar);
    ar.Detach();
    const std::vector<uint8_t> bytes = s.TakeBytes();
    // The root as the unit stored it (the id ahead of it is the reader's own).
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 4, bytes.end()),
              std::vector<uint8_t>(records[i].begin() + 4, records[i].end()))
        << i;
  }
  ASSERT_EQ(Close(), 0);
  EXPECT_EQ(gnss_->Setting("cur/term/imode"), "cmd");
  EXPECT_EQ(gnss_->Messages('c'), (std::vector<std::string>{"GGA=1.00", "ZDA=5.00"}));
}

TEST_F(GatewayTest, ProgressAndLogOfAnOpening) {
  ASSERT_EQ(Open(), 0);
  std::vector<intptr_t> percents;
  for (const auto& m : window_.Messages(kMsgProgress)) {
    if (m.wParam == kProgressPercent) percents.push_back(m.lParam);
  }
  EXPECT_EQ(percents, (std::vector<intptr_t>{11, 11, 22, 33, 44, 55, 66, 77, 88, 100}));
  const std::string log = gw_->GetLog().TakeTextUtf8();
  EXPECT_EQ(log.rfind("Saving GPS ports parameters...\r\nSending daisy chain commands...\r\nRE", 0), 0u) << log;
}

TEST_F(GatewayTest, ResultCodesOfTheReceiverFaults) {
  struct Case {
    const char* prefix;
    SimGnss::Rule rule;
    bool open;
    int result;
  };
  const Case cases[] = {
      {"%%", SimGnss::Rule::Silent, true, 1},                            // no log-in
      {"%%print, dev/ser/c/imode", SimGnss::Rule::Silent, true, 3},      // settings not saved
      {"%%set,cur/term/imode,cmd", SimGnss::Rule::Silent, true, 1},      // second line
      {"%%set,dev/ser/c/echo,/dev/null", SimGnss::Rule::Silent, true, 5},  // fourth line
      {"%%dm", SimGnss::Rule::Error, true, 2},
      // Closing: the script ends with 2, but the same setting is refused again by the restore,
      // and a failed restore outweighs the script.
      {"%%set,cur/term/echo,/dev/null", SimGnss::Rule::Error, false, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prefix);
    gnss_->SetRule(c.prefix, c.rule);
    EXPECT_EQ(c.open ? Open() : Close(), c.result);
    gnss_->SetRule(c.prefix, SimGnss::Rule::Answer);
    // Back to the receiver's own state for the next case.
    gnss_->SetSetting("cur/term/imode", "cmd");
    gnss_->SetSetting("cur/term/echo", "/dev/null");
  }
}

TEST_F(GatewayTest, ClosingSkipsTheFirstAnswerAndRestoresOnlyWhatWasSaved) {
  gnss_.reset();
  sim::GnssOptions quiet;
  quiet.messages.clear();
  gnss_ = std::make_unique<SimGnss>(unit_.SlavePath(), quiet);
  port_.Close();
  ASSERT_TRUE(port_.Open(gnss_->SlavePath16(), 115200, 8, 0, 0));
  ASSERT_EQ(Open(), 0);
  EXPECT_TRUE(gw_->GetRestoreList().empty());
  gnss_->ClearRecord();
  ASSERT_EQ(Close(), 0);
  // The four script lines after "#OFF#", then exactly the four settings.
  const std::vector<std::string> expected = {
      "%%set,cur/term/echo,/dev/null", "%%set,cur/term/imode,cmd", "%%set,dev/ser/c/echo,/dev/null",
      "%%set,dev/ser/c/imode,cmd",     "%%set,dev/ser/c/echo,/dev/null", "%%set,dev/ser/c/imode,cmd",
      "%%set,cur/term/echo,/dev/null", "%%set,cur/term/imode,cmd"};
  EXPECT_EQ(gnss_->Commands(), expected);
}

TEST_F(GatewayTest, AnUnansweredRestoreIsALoggedFailure) {
  ASSERT_EQ(Open(), 0);
  gnss_->SetRule("%%em", SimGnss::Rule::Silent);
  EXPECT_EQ(Close(), 4);
  ASSERT_FALSE(ErrorLog().Entries().empty());
  EXPECT_NE(ErrorLog().GetTextUtf8().find("%%em,/dev/ser/c,GGA:1.00"), std::string::npos);
}

TEST_F(GatewayTest, ARefusedRestoreFailsEvenWhenTheAnswerNamesAPath) {
  ASSERT_EQ(Open(), 0);
  // The refusal repeats the command ("ER...%%refused %%em,/dev/ser/c,..."): its part from the
  // first "/" on holds no "ER", the whole answer does.
  gnss_->SetRule("%%em", SimGnss::Rule::Error);
  EXPECT_EQ(Close(), 4);
  EXPECT_EQ(gnss_->Messages('c').size(), 0u);
}

// What the receiver answered goes back into its own command lines: an answer holding a control
// character is not put back (a message stops the opening, a setting fails the restore; the log says
// why), a saved setting is its first line only, and no control character reaches the receiver.
TEST_F(GatewayTest, AnAnswerWithAControlCharacterIsNotPutBack) {
  // A message that could not be put back: the opening stops before it turns the messages off.
  gnss_.reset();
  sim::GnssOptions options;
  options.messages = {"GGA=1.00", "ZDA=5\x01" "00"};
  gnss_ = std::make_unique<SimGnss>(unit_.SlavePath(), options);
  port_.Close();
  ASSERT_TRUE(port_.Open(gnss_->SlavePath16(), 115200, 8, 0, 0));
  ErrorLog().Clear();
  EXPECT_EQ(Open(), 3);
  EXPECT_EQ(gnss_->Messages('c'), options.messages);
  EXPECT_EQ(ErrorLog().Count(), 1u) << ErrorLog().GetTextUtf8();

  // A setting: refused at closing; a second line behind a setting is not part of it.
  gnss_.reset();
  gnss_ = std::make_unique<SimGnss>(unit_.SlavePath(), sim::GnssOptions{});
  port_.Close();
  ASSERT_TRUE(port_.Open(gnss_->SlavePath16(), 115200, 8, 0, 0));
  gnss_->SetSetting("cur/term/echo", "/dev/nu\x1Bll");
  gnss_->SetSetting("dev/ser/c/echo", "/dev/null\r\n%%em,/dev/ser/c,GGA:1.00");
  ErrorLog().Clear();
  ASSERT_EQ(Open(), 0);
  gnss_->ClearRecord();
  EXPECT_EQ(Close(), 4);
  EXPECT_EQ(gnss_->Setting("dev/ser/c/echo"), "/dev/null");
  ASSERT_FALSE(gnss_->Commands().empty());
  for (const std::string& command : gnss_->Commands()) EXPECT_TRUE(testsupport::OnlyLineFraming(command)) << command;
  EXPECT_EQ(ErrorLog().Count(), 1u) << ErrorLog().GetTextUtf8();
}

// A list whose first line closes itself, with further lines behind it: every message comes back.
TEST_F(GatewayTest, EveryOutputMessageIsRestored) {
  gnss_.reset();
  sim::GnssOptions options;
  options.messages = {"GGA=1.00", "ZDA=5.00", "GSV=9.00"};
  options.eachMessageClosed = true;
  gnss_ = std::make_unique<SimGnss>(unit_.SlavePath(), options);
  port_.Close();
  ASSERT_TRUE(port_.Open(gnss_->SlavePath16(), 115200, 8, 0, 0));
  ASSERT_EQ(Open(), 0);
  EXPECT_TRUE(gnss_->Messages('c').empty());
  ASSERT_EQ(Close(), 0);
  EXPECT_EQ(gnss_->Messages('c'), options.messages);
}

// What the opening could not save it never changes, and what a failed opening changed is put back.
TEST_F(GatewayTest, AnOpeningNeverLosesTheReceiversSettings) {
  struct Case {
    const char* prefix;
    SimGnss::Rule rule;
    int result;
  };
  const Case cases[] = {
      {"%%print, cur/term/echo", SimGnss::Rule::Error, 3},       // refused: "ER..." is no saved value
      {"%%print,out/dev/ser/c:on", SimGnss::Rule::Silent, 3},    // the message list unread
      {"%%print,out/dev/ser/c:on", SimGnss::Rule::Error, 3},
      {"%%set,dev/ser/c/imode,echo", SimGnss::Rule::Silent, 5},  // fails after "%%dm"
      {"%%set,cur/term/eoff", SimGnss::Rule::Error, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prefix);
    gnss_->SetRule(c.prefix, c.rule);
    EXPECT_EQ(Open(), c.result);
    gnss_->SetRule(c.prefix, SimGnss::Rule::Answer);
    EXPECT_EQ(gnss_->Messages('c'), (std::vector<std::string>{"GGA=1.00", "ZDA=5.00"}));
    EXPECT_EQ(gnss_->Setting("cur/term/imode"), "cmd");
    EXPECT_EQ(gnss_->Setting("cur/term/echo"), "/dev/null");
    EXPECT_EQ(gnss_->Setting("dev/ser/c/echo"), "/dev/null");
    EXPECT_EQ(gnss_->Setting("dev/ser/c/echo"), "/dev/null");
    EXPECT_FALSE(gnss_->PassThroughLive());
  }
  // Closing after a refused save writes back no "NULL" and no error text.
  gnss_->SetRule("%%print, dev/ser/c/echo", SimGnss::Rule::Error);
  gnss_->SetRule("%%print, cur/term/imode", SimGnss::Rule::Silent);
  EXPECT_EQ(Open(), 3);
  gnss_->SetRule("%%print, dev/ser/c/echo", SimGnss::Rule::Answer);
  gnss_->SetRule("%%print, cur/term/imode", SimGnss::Rule::Answer);
  gnss_->ClearRecord();
  EXPECT_EQ(Close(), 4);
  for (const std::string& line : gnss_->Commands()) {
    EXPECT_EQ(line.find("NULL"), std::string::npos) << line;
    EXPECT_EQ(line.find("ER"), std::string::npos) << line;
  }
}

// Stopped, an opening does not sit out its pauses and the receiver's silence.
TEST_F(GatewayTest, StopEndsAnOpeningAtOnce) {
  gnss_->SetSilent(true);
  platform::Event stop(platform::Event::ResetMode::Manual, true);
  const uint64_t start = platform::NowMs();
  EXPECT_EQ(gw_->OpenPassThrough(&port_, true, window_.Handle(), &stop), 1);
  EXPECT_LT(platform::NowMs() - start, 300u);  // silent, unstopped: two queries of 2 s each
}

TEST_F(GatewayTest, DirectHasNoScriptsAndSendsNothing) {
  VkcDeviceInterface* direct = manager_.GetInterface(VkcDevIfVelkor::kId);
  ASSERT_NE(direct, nullptr);
  gnss_->ClearRecord();
  EXPECT_EQ(direct->OpenPassThrough(&port_, true, 0, nullptr), 0);
  EXPECT_EQ(direct->OpenPassThrough(&port_, false, 0, nullptr), 0);
  EXPECT_TRUE(gnss_->Commands().empty());
}

}  // namespace
