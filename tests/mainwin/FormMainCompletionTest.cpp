// Every result code through the completion handler, chaining, the reset
// wait and the reply snapshot.

#include "FormMainHarness.h"

namespace rkvt::test {
namespace {

// Where the window stands when the result arrives.
enum class Ctx { Identify, Reset, Setup, Statistics, ClearStatistics, Connect, LoopPoll, ClearLoop, Disconnect };

struct CompletionCase {
  std::uint8_t result;
  Ctx ctx;
  const char* message;
  bool red;
  int beeps;
  int next;        // command started by the completion, -1 none
  int nextByte2;   // its request byte 2, -1 not written
  const char* buttons;  // CommandButtons() afterwards
  const char* caption;  // caption of the context's own button afterwards
  bool statTimer;  // statistics timer armed afterwards
  bool loopTimer;
  bool watchdog;   // 20 s no-line timer running afterwards
};

void PrintTo(const CompletionCase& c, std::ostream* os) { *os << "result " << int(c.result); }

// Test RDL-ES (test code 1) on a 2.25 modem (level 7: page code 9).
constexpr std::uint8_t kTestCode = 1;
constexpr std::uint8_t kPage = 9;
constexpr const char* kFree = "11111111";

const CompletionCase kCases[] = {
    {1, Ctx::Identify, "", false, 0, -1, -1, "11011100", "State", false, false, false},
    {2, Ctx::Identify, " Get statistics ...", false, 0, 25, -1, "00000010", "State", false, false, false},
    {3, Ctx::Identify, " Error! Check cable and port settings.", true, 1, -1, -1, "11000100", "State", false, false,
     false},
    {4, Ctx::Identify, " Check modem type stopped.", false, 0, -1, -1, "11000100", "State", false, false, false},
    // Reset OK: the modem restarts; everything stays locked for the wait.
    {10, Ctx::Reset, " Reset modem OK.", false, 0, -1, -1, "00000000", "Stop", false, false, false},
    {11, Ctx::Reset, " Reset modem ...", false, 0, 14, -1, "00010000", "Stop", false, false, false},
    {12, Ctx::Reset, " Reset modem error!", true, 1, -1, -1, kFree, "Reset", false, false, false},
    {13, Ctx::Reset, " Reset modem stopped.", false, 0, -1, -1, kFree, "Reset", false, false, false},
    {14, Ctx::Reset, " Reset modem OK.", false, 0, -1, -1, "00000000", "Stop", false, false, false},
    {15, Ctx::Reset, " Reset modem error!", true, 1, -1, -1, kFree, "Reset", false, false, false},
    {16, Ctx::Reset, " Reset modem stopped.", false, 0, -1, -1, kFree, "Reset", false, false, false},
    // Port error: the worker's own text stays; the caption is not restored.
    {17, Ctx::Statistics, " Get statistics ...", true, 1, -1, -1, "11000100", "Stop", false, false, false},
    {17, Ctx::LoopPoll, " Get loop statistics ...", true, 1, -1, -1, "11000100", "Disconnect", false, false, false},
    {18, Ctx::Setup, " Enter modem setup OK.", false, 0, -1, -1, "00000000", "Setup", false, false, false},
    {19, Ctx::Setup, " Setup activated from remote terminal !", true, 1, -1, -1, kFree, "Setup", false, false,
     false},
    {20, Ctx::Setup, " Enter modem setup error!", true, 1, -1, -1, kFree, "Setup", false, false, false},
    {21, Ctx::Setup, " Enter modem setup stopped.", false, 0, -1, -1, kFree, "Setup", false, false, false},
    {25, Ctx::Statistics, " Get statistics OK.", false, 0, -1, -1, "00000010", "Stop", true, false, false},
    {26, Ctx::Statistics, " Get statistics error!", false, 0, -1, -1, "00000010", "Stop", true, false, false},
    {27, Ctx::Statistics, " Get statistics stopped.", false, 0, -1, -1, kFree, "Start", false, false, false},
    {28, Ctx::ClearStatistics, " Reset statistics OK.", false, 0, -1, -1, "00000010", "Stop", true, false, false},
    {29, Ctx::ClearStatistics, " Reset statistics error!", true, 1, -1, -1, kFree, "Start", false, false, false},
    {30, Ctx::ClearStatistics, " Reset statistics stopped.", false, 0, -1, -1, "00000010", "Start", false, false,
     false},
    {40, Ctx::Connect, " Get loop statistics ...", false, 0, 50, kPage, "00000001", "Stop", false, false, true},
    {41, Ctx::Connect, " Disconnecting ...", false, 0, 46, kTestCode, "00000001", "Stop", false, false, false},
    {42, Ctx::Connect, " Connecting loop timeout!", true, 1, -1, -1, kFree, "Connect", false, false, false},
    {43, Ctx::Connect, " Connecting loop off!", true, 1, -1, -1, kFree, "Connect", false, false, false},
    {44, Ctx::Connect, " Test RDL-ES (master) from local modem !", true, 1, -1, -1, kFree, "Connect", false, false,
     false},
    {45, Ctx::Connect, " Connecting loop error!", true, 1, -1, -1, kFree, "Connect", false, false, false},
    {46, Ctx::Disconnect, " Disconnecting loop OK.", false, 0, -1, -1, kFree, "Connect", false, false, false},
    {47, Ctx::Disconnect, " Disconnecting loop stopped.", false, 0, -1, -1, kFree, "Connect", false, false, false},
    {48, Ctx::Disconnect, " Disconnecting loop timeout!", true, 1, -1, -1, kFree, "Connect", false, false, false},
    {49, Ctx::Disconnect, " Disconnecting loop error!", true, 1, -1, -1, kFree, "Connect", false, false, false},
    {50, Ctx::LoopPoll, " Get loop statistics OK.", false, 0, -1, -1, "00000001", "Disconnect", false, true, true},
    {51, Ctx::LoopPoll, " Get loop statistics error!", true, 1, -1, -1, "00000001", "Disconnect", false, true, true},
    {52, Ctx::LoopPoll, " Disconnecting ...", false, 0, 46, kTestCode, "00000001", "Stop", false, false, false},
    {53, Ctx::ClearLoop, " Reset loop statistics OK.", false, 0, -1, -1, "00000001", "Disconnect", false, true, true},
    {54, Ctx::ClearLoop, " Reset loop statistics error!", true, 1, -1, -1, "00000001", "Disconnect", false, false,
     false},
    {55, Ctx::ClearLoop, " Reset loop statistics stopped.", false, 0, -1, -1, "00000001", "Disconnect", false, false,
     false},
    // Codes the main window never starts leave everything as it was.
    {0, Ctx::Identify, " Check modem state ...", false, 0, -1, -1, "01000000", "Stop", false, false, false},
    {22, Ctx::Identify, " Check modem state ...", false, 0, -1, -1, "01000000", "Stop", false, false, false},
    {255, Ctx::Identify, " Check modem state ...", false, 0, -1, -1, "01000000", "Stop", false, false, false},
};

class Completion : public FormMainTest, public testing::WithParamInterface<CompletionCase> {
 protected:
  // Brings the window to the context, with the context's command running.
  void Enter(Ctx ctx) {
    if (ctx == Ctx::Identify) {
      F().ButtonState.Click();
      return;
    }
    IdentifyAndRead();
    switch (ctx) {
      case Ctx::Identify: break;
      case Ctx::Reset: F().ButtonReset.Click(); break;
      case Ctx::Setup: F().ButtonSetup.Click(); break;
      case Ctx::Statistics: F().ButtonStatistics.Click(); break;
      case Ctx::ClearStatistics:
        F().ButtonStatistics.Click();
        runner_.Complete(25);
        F().ButtonClearStatistics.Click();
        clock_.Advance(kStatMs);
        break;
      case Ctx::Connect: F().ButtonTest.Click(); break;
      case Ctx::LoopPoll:
      case Ctx::ClearLoop:
      case Ctx::Disconnect:
        F().ButtonTest.Click();
        runner_.Complete(40);
        runner_.Complete(50);
        if (ctx == Ctx::ClearLoop) F().ButtonClearTest.Click();
        if (ctx == Ctx::Disconnect) {
          F().ButtonTest.Click();
        } else {
          clock_.Advance(kLoopMs);
        }
        break;
    }
  }

  ui::Button& Own(Ctx ctx) {
    switch (ctx) {
      case Ctx::Identify: return F().ButtonState;
      case Ctx::Reset: return F().ButtonReset;
      case Ctx::Setup: return F().ButtonSetup;
      case Ctx::Statistics:
      case Ctx::ClearStatistics: return F().ButtonStatistics;
      default: return F().ButtonTest;
    }
  }
};

TEST_P(Completion, MessageColourBeepNextCommandButtonsTimers) {
  const CompletionCase& c = GetParam();
  Enter(c.ctx);
  ASSERT_TRUE(runner_.Running());
  const std::size_t startsBefore = runner_.starts.size();
  const int beepsBefore = beeper_.beeps;

  if (c.result == 1 || c.result == 2) {
    runner_.Complete(c.result, {{2, kType1}, {3, kVersion22}, {4, kDigit5}});
  } else if (c.result == 19) {
    runner_.Complete(c.result, {{4, 0xA0}, {5, 0x00}, {6, 0x40}, {7, 0x00}});  // setup from a remote terminal
  } else if (c.result == 44) {
    runner_.Complete(c.result, {{4, 0x50}, {5, 0x40}, {6, 0x40}, {7, 0x00}});  // RDL-ES master, local modem
  } else {
    runner_.Complete(c.result);
  }

  EXPECT_EQ(Message(), QString(c.message));
  EXPECT_EQ(MessageColor(), c.red ? kRed : kNormal);
  EXPECT_EQ(beeper_.beeps - beepsBefore, c.beeps);
  if (c.next < 0) {
    EXPECT_EQ(runner_.starts.size(), startsBefore);
    EXPECT_FALSE(F().CommandRunning());
  } else {
    ASSERT_EQ(runner_.starts.size(), startsBefore + 1);
    const auto& s = runner_.starts.back();
    EXPECT_EQ(s.command, c.next);
    EXPECT_EQ(s.subAddress, c.next == 14 ? 1 : 2);
    EXPECT_TRUE(s.local);
    if (c.nextByte2 >= 0) {
      EXPECT_EQ(s.byte1, 0);
      EXPECT_EQ(s.byte2, c.nextByte2);
    }
    EXPECT_TRUE(F().CommandRunning());
  }
  EXPECT_EQ(CommandButtons(F()), c.buttons);
  EXPECT_EQ(Own(c.ctx).Caption(), QString(c.caption));
  EXPECT_EQ(invisible_.TimerStatistics.Enabled(), c.statTimer);
  if (c.statTimer) {
    EXPECT_EQ(clock_.DueIn(invisible_.TimerStatistics), kStatMs);
  }
  EXPECT_EQ(invisible_.TimerLoopStatistics.Enabled(), c.loopTimer);
  if (c.loopTimer) {
    EXPECT_EQ(clock_.DueIn(invisible_.TimerLoopStatistics), kLoopMs);
  }
  EXPECT_EQ(invisible_.TimerLoopNoLine20s.Enabled(), c.watchdog);
  EXPECT_EQ(monitored_.back()[0], c.result) << "the log sees every completion";
}

INSTANTIATE_TEST_SUITE_P(EveryResult, Completion, testing::ValuesIn(kCases));


// --- Identification --------------------------------------------------------------

TEST_F(FormMainTest, Identified_StatisticsFollowsOnlyForWorkingMode) {
  F().ButtonState.Click();
  ASSERT_EQ(runner_.starts.back().command, 2);
  EXPECT_EQ(runner_.starts.back().subAddress, 1);
  runner_.Complete(2, {{2, kType1}, {3, kVersion22}, {4, kDigit5}});
  EXPECT_EQ(F().SoftwareLevel(), 7);
  EXPECT_TRUE(F().WorkingFirmware());
  EXPECT_EQ(F().ButtonStatistics.Caption(), QString("Stop"));
  ASSERT_EQ(runner_.starts.back().command, 25);
  EXPECT_EQ(runner_.starts.back().softwareLevel, 7) << "the read asks for the page of the identified level";
  runner_.Complete(25);
  // The one-shot read ends in IdentifiedReady with polling off.
  EXPECT_EQ(CommandButtons(F()), "11111111");
  EXPECT_EQ(F().ButtonStatistics.Caption(), QString("Start"));
  EXPECT_FALSE(F().ButtonClearStatistics.Enabled());
  EXPECT_TRUE(F().ComboBoxTest.Enabled());
  EXPECT_FALSE(invisible_.TimerStatistics.Enabled());
  EXPECT_FALSE(invisible_.TimerProgress.Enabled());
  EXPECT_EQ(Message(), QString(" Get statistics OK."));
}

TEST_F(FormMainTest, Identified_UnsupportedVersion_BeepsAndStops) {
  F().ButtonState.Click();
  runner_.Complete(2, {{2, kType1}, {3, 0x30}, {4, '0'}});  // 3.00 of a first-generation modem
  EXPECT_EQ(Message(), QString(" This version of software modem is not support!"));
  EXPECT_EQ(MessageColor(), kRed);
  EXPECT_EQ(beeper_.beeps, 1);
  EXPECT_EQ(runner_.starts.size(), 1u);
  EXPECT_EQ(CommandButtons(F()), "11000100");
  EXPECT_EQ(F().StaticTextVersion.FontColor(), kRed);
  EXPECT_EQ(F().ButtonState.Caption(), QString("State"));
}

TEST_F(FormMainTest, Identified_UnknownType_BeepsUnidentified) {
  F().ButtonState.Click();
  runner_.Complete(2, {{1, 0xAB}, {2, 0x0C}, {3, 0x12}, {4, '3'}});
  EXPECT_EQ(F().StaticTextModem.Text(), QString("Unknown modem !"));
  EXPECT_EQ(beeper_.beeps, 1);
  EXPECT_EQ(CommandButtons(F()), "11000100");
  EXPECT_EQ(runner_.starts.size(), 1u);
}

TEST_F(FormMainTest, Identified_LoaderOfTheLocalModem_BasicWithResetThroughLoader) {
  F().ButtonState.Click();
  runner_.Complete(1, {{2, 2}, {3, 0x10}, {4, '0'}});  // first-generation bootloader
  EXPECT_EQ(CommandButtons(F()), "11011100");
  EXPECT_FALSE(F().WorkingFirmware());
  EXPECT_EQ(runner_.starts.size(), 1u);
  F().ButtonReset.Click();
  EXPECT_EQ(runner_.starts.back().command, 10);
  EXPECT_EQ(runner_.starts.back().subAddress, 1);
}

// --- Reset chain -------------------------------------------------------------------

TEST_F(FormMainTest, Reset_11Then14ThenTenSecondsThenIdentify) {
  IdentifyAndRead();
  int updateClosed = 0;
  F().Windows.closeUpdate = [&] { ++updateClosed; };
  F().ButtonReset.Click();
  EXPECT_EQ(updateClosed, 1);
  EXPECT_EQ(Message(), QString(" Reset modem ..."));
  ASSERT_EQ(runner_.LastCommand(), 11) << "working firmware resets with 11";
  runner_.Complete(11);
  ASSERT_EQ(runner_.LastCommand(), 14);
  EXPECT_EQ(runner_.starts.back().subAddress, 1);
  runner_.Complete(14);
  EXPECT_EQ(Message(), QString(" Reset modem OK."));
  const std::size_t starts = runner_.starts.size();

  clock_.Advance(TFormMain::kResetWaitMs - 1);
  EXPECT_EQ(runner_.starts.size(), starts) << "nothing reaches the modem while it restarts";
  EXPECT_EQ(CommandButtons(F()), "00000000");
  clock_.Advance(1);
  ASSERT_EQ(runner_.starts.size(), starts + 1);
  EXPECT_EQ(runner_.LastCommand(), 2);
  EXPECT_EQ(Message(), QString(" Check modem state ..."));
  EXPECT_EQ(F().ButtonState.Caption(), QString("Stop"));
  EXPECT_EQ(F().ButtonReset.Caption(), QString("Reset"));
  EXPECT_FALSE(F().WorkingFirmware());
  EXPECT_EQ(CommandButtons(F()), "01000000");
  clock_.Advance(60000);
  EXPECT_EQ(runner_.starts.size(), starts + 1) << "the wait fires once";
}

// --- Snapshot and log ------------------------------------------------------------------

TEST_F(FormMainTest, Snapshot_TakenBeforeTheChainedRequestBytes) {
  IdentifyAndRead();
  F().ButtonTest.Click();
  runner_.Complete(40, {{1, 0xAA}, {2, 0xBB}, {3, 0x31}});
  ASSERT_EQ(runner_.LastCommand(), 50);
  EXPECT_EQ(runner_.starts.back().byte2, kPage);
  const auto snapshot = F().ReplySnapshot();
  EXPECT_EQ(snapshot[0], 40);
  EXPECT_EQ(snapshot[1], 0xAA);
  EXPECT_EQ(snapshot[2], 0xBB);
  EXPECT_EQ(snapshot[3], 0x31);
  ASSERT_FALSE(monitored_.empty());
  EXPECT_EQ(monitored_.back(), std::vector<std::uint8_t>(snapshot.begin(), snapshot.end()));
}

TEST_F(FormMainTest, Snapshot_CarriesTheActivityBitTurnedToTheOperatorsView) {
  IdentifyAndRead();
  F().ButtonSetup.Click();
  runner_.Complete(19, {{4, 0xA0}, {6, 0x00}});
  // Target local: bit 6 of the record's third byte is inverted in the block.
  EXPECT_EQ(F().ReplySnapshot()[6], 0x40);
  EXPECT_EQ(F().ReplySnapshot()[0], 19);
}

TEST_F(FormMainTest, SetupEntered_HandsCaptionMessageAndRecordToTheSetupWindow) {
  for (bool local : {true, false}) {
    (local ? F().RadioButtonLocal : F().RadioButtonRemote).Click();
    IdentifyAndRead();
    QString caption, message;
    std::vector<std::uint8_t> record;
    F().Windows.showSetup = [&](const QString& c, const QString& m, std::span<const std::uint8_t> r) {
      caption = c;
      message = m;
      record.assign(r.begin(), r.end());
    };
    F().ButtonSetup.Click();
    EXPECT_EQ(Message(), QString(" Enter modem setup ..."));
    EXPECT_EQ(F().ButtonSetup.Caption(), QString("Stop"));
    EXPECT_EQ(runner_.LastCommand(), 18);
    runner_.Complete(18, {{1, 0x21}, {2, 0x11}, {27, 0x99}, {28, 0x55}});
    EXPECT_EQ(caption, QString(local ? "R-KVT-MS - Setup local modem" : "R-KVT-MS - Setup remote modem"));
    EXPECT_EQ(message, QString(" Enter modem setup OK."));
    ASSERT_EQ(record.size(), 26u);
    EXPECT_EQ(record.front(), 0x11);
    EXPECT_EQ(record.back(), 0x99);
    // Closing the setup window identifies again; stop that to free the radios.
    F().SetupClosed(kNormal, QString());
    runner_.Complete(4);
  }
}

TEST_F(FormMainTest, OtherResultDuringCyclicPolling_ShowsStatisticsAndRearms) {
  IdentifyAndRead();
  F().ButtonStatistics.Click();
  runner_.Complete(31);
  EXPECT_TRUE(invisible_.TimerStatistics.Enabled());
  EXPECT_EQ(clock_.DueIn(invisible_.TimerStatistics), kStatMs);
  EXPECT_FALSE(invisible_.TimerProgress.Enabled());
  EXPECT_TRUE(F().ButtonClearStatistics.Enabled());
}

}  // namespace
}  // namespace rkvt::test
