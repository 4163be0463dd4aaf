// Every result code through the completion handler, chaining, the reset
// wait and the reply snapshot.

#include <cstring>

#include "FormMainHarness.h"

namespace rkvt::test {
namespace {

// Where the window stands when the result arrives, the context's command running.
enum class Ctx { Identify, Reset, Setup, Stat, ClearStat, OneShot, Connect, Poll, ClearLoop, Disconnect };
using enum Ctx;

struct CompletionCase {
  std::uint8_t result;
  Ctx ctx;
  const char* message;
  char alarm;           // 'R' red message and one beep, 'B' a beep only, ' ' neither
  int next, nextByte2;  // command chained by the completion and its request byte 2; -1 none
  const char* buttons;  // CommandButtons() afterwards, 8 or 11 columns
  const char* caption;  // of the context's own button afterwards
  const char* after;    // statistics timer, loop timer, 20 s watchdog, monitoring ('-' never set)
  Bytes reply{};
};

void PrintTo(const CompletionCase& c, std::ostream* os) { *os << "result " << int(c.result) << ":" << c.message; }

// Test RDL-ES (test code 1) on a 2.25 modem (level 7: page code 9).
constexpr const char* kFree = "rSUROPAC";
const CompletionCase kCases[] = {
    {1, Identify, "", ' ', -1, -1, "rS.ROP..", "State", "000-", kId225},
    {2, Identify, " Get statistics ...", ' ', 25, -1, "......A.", "State", "000-", kId225},
    {2, Identify, " This version of software modem is not support!", 'R', -1, -1, "rS...P..", "State", "000-",
     {{2, 1}, {3, 0x30}, {4, '0'}}},  // 3.00 of a first-generation modem
    {2, Identify, "", 'B', -1, -1, "rS...P..", "State", "000-",
     {{1, 0xAB}, {2, 0x0C}, {3, 0x12}, {4, '3'}}},  // type 12: an unknown modem
    {3, Identify, " Error! Check cable and port settings.", 'R', -1, -1, "rS...P..", "State", "000-"},
    {4, Identify, " Check modem type stopped.", ' ', -1, -1, "rS...P..", "State", "000-"},
    // Reset OK: the modem restarts; everything stays locked for the wait.
    {10, Reset, " Reset modem OK.", ' ', -1, -1, "........", "Stop", "000-"},
    {11, Reset, " Reset modem ...", ' ', 14, -1, "...R....", "Stop", "000-"},
    {12, Reset, " Reset modem error!", 'R', -1, -1, kFree, "Reset", "000-"},
    {13, Reset, " Reset modem stopped.", ' ', -1, -1, kFree, "Reset", "000-"},
    {14, Reset, " Reset modem OK.", ' ', -1, -1, "........", "Stop", "000-"},
    {15, Reset, " Reset modem error!", 'R', -1, -1, kFree, "Reset", "000-"},
    {16, Reset, " Reset modem stopped.", ' ', -1, -1, kFree, "Reset", "000-"},
    // Port error: the worker's own text stays; the caption is not restored.
    {17, Stat, " Get statistics ...", 'R', -1, -1, "rS...P..", "Stop", "0000"},
    {17, Poll, " Get loop statistics ...", 'R', -1, -1, "rS...P..", "Disconnect", "0000"},
    {18, Setup, " Enter modem setup OK.", ' ', -1, -1, "........", "Setup", "000-"},
    {19, Setup, " Setup activated from remote terminal !", 'R', -1, -1, kFree, "Setup", "000-", {{4, 0xA0}, {6, 0x40}}},
    {20, Setup, " Enter modem setup error!", 'R', -1, -1, kFree, "Setup", "000-"},
    {21, Setup, " Enter modem setup stopped.", ' ', -1, -1, kFree, "Setup", "000-"},
    {25, Stat, " Get statistics OK.", ' ', -1, -1, "......A.", "Stop", "1001"},
    {26, Stat, " Get statistics error!", ' ', -1, -1, "......A.", "Stop", "1001"},
    {27, Stat, " Get statistics stopped.", ' ', -1, -1, kFree, "Start", "0001"},
    // The one read after identifying in working mode ends, even on an error, in IdentifiedReady without polling.
    {25, OneShot, " Get statistics OK.", ' ', -1, -1, "rSUROPAC..x", "Start", "000-"},
    {26, OneShot, " Get statistics error!", ' ', -1, -1, "rSUROPAC..x", "Start", "000-"},
    {28, ClearStat, " Reset statistics OK.", ' ', -1, -1, "......A.", "Stop", "1001"},
    {29, ClearStat, " Reset statistics error!", 'R', -1, -1, kFree, "Start", "0000"},
    {30, ClearStat, " Reset statistics stopped.", ' ', -1, -1, "......A.", "Start", "0000"},
    {40, Connect, " Get loop statistics ...", ' ', 50, 9, ".......C", "Stop", "0011",
     {{1, 0xAA}, {2, 0xBB}, {3, 0x31}}},
    {41, Connect, " Disconnecting ...", ' ', 46, 1, ".......C", "Stop", "0001"},
    {42, Connect, " Connecting loop timeout!", 'R', -1, -1, kFree, "Connect", "0000"},
    {43, Connect, " Connecting loop off!", 'R', -1, -1, kFree, "Connect", "0000"},
    {44, Connect, " Test RDL-ES (master) from local modem !", 'R', -1, -1, kFree, "Connect", "0000",
     {{4, 0x50}, {5, 0x40}, {6, 0x40}}},  // RDL-ES master from the local modem
    {45, Connect, " Connecting loop error!", 'R', -1, -1, kFree, "Connect", "0000"},
    {46, Disconnect, " Disconnecting loop OK.", ' ', -1, -1, kFree, "Connect", "0000"},
    {47, Disconnect, " Disconnecting loop stopped.", ' ', -1, -1, kFree, "Connect", "0000"},
    {48, Disconnect, " Disconnecting loop timeout!", 'R', -1, -1, kFree, "Connect", "0000"},
    {49, Disconnect, " Disconnecting loop error!", 'R', -1, -1, kFree, "Connect", "0000"},
    {50, Poll, " Get loop statistics OK.", ' ', -1, -1, ".......C", "Disconnect", "0111"},
    {51, Poll, " Get loop statistics error!", 'R', -1, -1, ".......C", "Disconnect", "0111"},
    {52, Poll, " Disconnecting ...", ' ', 46, 1, ".......C", "Stop", "0001"},
    {53, ClearLoop, " Reset loop statistics OK.", ' ', -1, -1, ".......C", "Disconnect", "0111"},
    {54, ClearLoop, " Reset loop statistics error!", 'R', -1, -1, ".......C", "Disconnect", "0001"},
    {55, ClearLoop, " Reset loop statistics stopped.", ' ', -1, -1, ".......C", "Disconnect", "0001"},
    // Codes the main window never starts leave everything as it was, but
    // cyclic polling goes on.
    {0, Identify, " Check modem state ...", ' ', -1, -1, ".S......", "Stop", "000-"},
    {22, Identify, " Check modem state ...", ' ', -1, -1, ".S......", "Stop", "000-"},
    {255, Identify, " Check modem state ...", ' ', -1, -1, ".S......", "Stop", "000-"},
    {31, Stat, " Get statistics ...", ' ', -1, -1, "......A.", "Stop", "1001"},
};

class Completion : public FormMain, public testing::WithParamInterface<CompletionCase> {
 protected:
  // Brings the window to the context, its command running; returns the context's own button.
  ui::Button& Enter(Ctx ctx) {
    if (ctx == Identify || ctx == OneShot) {
      PressState();
      if (ctx == Identify) return F().ButtonState;
      Complete(2, kId225);
      return F().ButtonStatistics;
    }
    if (ctx >= Poll) {
      ConnectedLoop();
      if (ctx == ClearLoop) F().ButtonClearTest.Click();
      ctx == Disconnect ? F().ButtonTest.Click() : clock_.Advance(kLoopMs);
      return F().ButtonTest;
    }
    IdentifyAndRead();
    ui::Button* own[] = {nullptr, &F().ButtonReset, &F().ButtonSetup, &F().ButtonStatistics, &F().ButtonStatistics,
                         nullptr, &F().ButtonTest};
    ui::Button& button = *own[static_cast<int>(ctx)];
    button.Click();
    if (ctx == ClearStat) {
      Complete(25);
      F().ButtonClearStatistics.Click();
      clock_.Advance(kStatMs);
    }
    return button;
  }
};

TEST_P(Completion, MessageAlarmNextCommandButtonsTimersMonitoring) {
  const CompletionCase& c = GetParam();
  const ui::Button& own = Enter(c.ctx);
  ASSERT_TRUE(runner_.Running());
  const std::size_t startsBefore = runner_.starts.size();
  const int beepsBefore = beeper_.beeps;

  Complete(c.result, c.reply);

  EXPECT_EQ(Message(), QString(c.message));
  EXPECT_EQ(MessageColor(), c.alarm == 'R' ? kRed : kNormal);
  EXPECT_EQ(beeper_.beeps - beepsBefore, c.alarm == ' ' ? 0 : 1);
  ASSERT_EQ(runner_.starts.size(), startsBefore + (c.next >= 0 ? 1 : 0));
  EXPECT_EQ(F().CommandRunning(), c.next >= 0);
  if (c.next >= 0) {
    const auto& s = runner_.starts.back();  // the chained command: sub-address, target, request bytes
    EXPECT_EQ(std::tuple(+s.command, +s.subAddress, s.local), std::tuple(c.next, c.next == 14 ? 1 : 2, true));
    EXPECT_TRUE(c.nextByte2 < 0 || (s.block[1] == 0 && s.block[2] == c.nextByte2)) << +s.block[1] << ' ' << +s.block[2];
  }
  EXPECT_EQ(CommandButtons(F(), std::strlen(c.buttons)), c.buttons);
  EXPECT_EQ(own.Caption(), QString(c.caption));
  // '1' a timer due in its full interval, '?' one due at another time.
  const auto due = [&](const ui::Timer& t, int ms) { return !t.Enabled() ? '0' : clock_.DueIn(t) == ms ? '1' : '?'; };
  EXPECT_EQ((std::string{due(invisible_.TimerStatistics, kStatMs), due(invisible_.TimerLoopStatistics, kLoopMs),
                         invisible_.TimerLoopNoLine20s.Enabled() ? '1' : '0', monitoring_ ? "01"[*monitoring_] : '-'}),
            c.after);
  const auto snap = F().ReplySnapshot();
  EXPECT_EQ(monitored_.back(), std::vector<std::uint8_t>(snap.begin(), snap.end())) << "the log sees every reply";
  EXPECT_EQ(snap[0], c.result);
  for (auto [at, v] : c.reply)  // as received, before a chained request; the activity bit turned
    EXPECT_EQ(snap[at], (c.result == 19 || c.result == 44) && at == 6 ? v ^ 0x40 : v) << at;
}

INSTANTIATE_TEST_SUITE_P(EveryResult, Completion, testing::ValuesIn(kCases));

// The fault goes to the message line's tooltip; the message stays the table's.
TEST_F(FormMain, FailedCommandShowsItsFaultAsTheMessageTooltipUntilTheNextCompletion) {
  PressState();
  runner_.fault = QStringLiteral("no acknowledgement after 3 attempts");
  Complete(3);
  EXPECT_EQ(Message(), QString(" Error! Check cable and port settings."));
  EXPECT_EQ(F().StaticTextMessages.ToolTip(), runner_.fault);
  PressState();
  runner_.fault.clear();
  Complete(2, kId225);
  EXPECT_EQ(F().StaticTextMessages.ToolTip(), QString());
}

// --- Reset and the setup window -------------------------------------

TEST_F(FormMain, Reset11Then14ThenTenSecondsThenIdentifyTheNextGoesThroughTheLoader) {
  IdentifyAndRead();
  int updateClosed = 0;
  F().Windows.closeUpdate = [&] { ++updateClosed; };
  F().ButtonReset.Click();
  EXPECT_EQ(std::pair(updateClosed, Message()), std::pair(1, QString(" Reset modem ...")));
  ASSERT_EQ(runner_.LastCommand(), 11) << "working firmware resets with 11";
  Complete(11);
  ASSERT_EQ(runner_.LastCommand(), 14);
  Complete(14);
  const std::size_t starts = runner_.starts.size();
  clock_.Advance(TFormMain::kResetWaitMs - 1);
  EXPECT_EQ(runner_.starts.size(), starts) << "nothing reaches the modem while it restarts";
  EXPECT_EQ(CommandButtons(F()), "........");
  clock_.Advance(1);
  Settle();
  ASSERT_EQ(runner_.starts.size(), starts + 1);
  EXPECT_EQ(std::tuple(+runner_.LastCommand(), Message(), F().ButtonState.Caption() + F().ButtonReset.Caption(),
                       CommandButtons(F())),
            std::tuple(2, QString(" Check modem state ..."), QString("StopReset"), ".S......"));
  clock_.Advance(60000);
  EXPECT_EQ(runner_.starts.size(), starts + 1) << "the wait fires once";
  Complete(1, {{2, 2}, {3, 0x10}, {4, '0'}});  // now a first-generation loader
  F().ButtonReset.Click();
  EXPECT_EQ(std::pair(+runner_.LastCommand(), +runner_.starts.back().subAddress), std::pair(10, 1));
}

TEST_F(FormMain, SetupEnteredHandsCaptionMessageAndRecordToTheSetupWindowClosedIdentifiesAfresh) {
  for (bool local : {true, false}) {
    (local ? F().RadioButtonLocal : F().RadioButtonRemote).Click();
    IdentifyAndRead();
    QStringList shown;  // caption, message, and the record's size, first and last byte
    F().Windows.showSetup = [&](const QString& c, const QString& m, std::span<const std::uint8_t> r) {
      shown = {c, m, QString::number(r.size()), r.size() == 26 ? QString::number(r[0] << 8 | r[25], 16) : ""};
    };
    F().ButtonSetup.Click();
    Complete(18, {{1, 0x21}, {2, 0x11}, {27, 0x99}, {28, 0x55}});  // the record: bytes 2..27
    EXPECT_EQ(shown, QStringList({local ? "R-KVT-MS - Setup local modem" : "R-KVT-MS - Setup remote modem",
                                  " Enter modem setup OK.", "26", "1199"}));
    runner_.starts.clear();
    F().SetupClosed(kRed, " Exit modem setup error!");  // identifies afresh
    Settle();
    ASSERT_EQ(runner_.starts.size(), 1u);
    EXPECT_EQ(std::pair(+runner_.starts[0].command, +runner_.starts[0].subAddress), std::pair(2, 1));
    EXPECT_EQ(F().ButtonSetup.Caption() + F().ButtonState.Caption() + Message(), "SetupStop Check modem state ...");
    EXPECT_EQ(CommandButtons(F()), ".S......");
    Complete(4);  // stop it to free the radios
  }
}

}  // namespace
}  // namespace rkvt::test
