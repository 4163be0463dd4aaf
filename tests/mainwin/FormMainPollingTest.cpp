// The start/stop toggles, statistics polling and loop tests.

#include "FormMainHarness.h"
#include "mainwin/LoopTestKinds.h"

namespace rkvt::test {
namespace {

// --- Toggles: Stop while the command runs only asks it to stop; with nothing
// running (after a port error, which leaves the caption, or between polls) it
// ends the toggle at once.

struct ToggleCase {
  const char* name;
  ui::Button C::*button;
  int command, subAddress;
  const char* startMessage;
  const char* captionAfterStop;  // right after Stop, before the stopped result
  const char* idleCaption;       // after Stop with nothing running (the loop's paths have their own tests)
  const char* idleMessage;       // nullptr: unchanged
  const char* idleButtons;
};

void PrintTo(const ToggleCase& c, std::ostream* os) { *os << c.name; }

const ToggleCase kToggles[] = {
    {"State", &C::ButtonState, 2, 1, " Check modem state ...", "Stop", "State", nullptr, "rS...P.."},
    {"Setup", &C::ButtonSetup, 18, 2, " Enter modem setup ...", "Stop", "Setup", nullptr, "rSUROPAC"},
    {"Reset", &C::ButtonReset, 11, 1, " Reset modem ...", "Reset", "Reset", " Reset modem stopped.", "rSUROPAC"},
    {"Statistics", &C::ButtonStatistics, 25, 2, " Get statistics ...", "Start", "Start", " Get statistics stopped.",
     "rSUROPAC"},
    {"Test", &C::ButtonTest, 40, 2, " Connecting ...", "Stop"}};

class Toggle : public FormMain, public testing::WithParamInterface<ToggleCase> {};
class IdleToggle : public Toggle {};
INSTANTIATE_TEST_SUITE_P(Toggles, Toggle, testing::ValuesIn(kToggles));
INSTANTIATE_TEST_SUITE_P(Toggles, IdleToggle, testing::ValuesIn(std::begin(kToggles), std::end(kToggles) - 1));

TEST_P(Toggle, StopWhileRunningOnlyAsksTheCommandToStop) {
  const ToggleCase& c = GetParam();
  if (c.button != &C::ButtonState) IdentifyAndRead();
  ui::Button& button = F().*c.button;
  button.Click();
  Settle();
  ASSERT_EQ(runner_.LastCommand(), c.command);
  EXPECT_EQ(std::tuple(+runner_.starts.back().subAddress, Message(), button.Caption(), button.Enabled()),
            std::tuple(c.subAddress, QString(c.startMessage), QString("Stop"), true));
  const std::size_t starts = runner_.starts.size();
  for (int press : {1, 2}) {  // pressed again before the stopped result: still no second command
    button.Click();
    EXPECT_EQ(std::tuple(runner_.terminates, runner_.starts.size(), button.Caption(), Message()),
              std::tuple(press, starts, QString(c.captionAfterStop), QString(c.startMessage)));
  }
}

TEST_P(IdleToggle, StopWithNothingRunningNoCommandAndNoStopRequest) {
  const ToggleCase& c = GetParam();
  ui::Button& button = F().*c.button;
  const bool statistics = c.button == &C::ButtonStatistics;
  if (c.button != &C::ButtonState) IdentifyAndRead();
  button.Click();
  Settle();
  Complete(statistics ? 25 : 17);
  if (c.button == &C::ButtonSetup || c.button == &C::ButtonReset) IdentifyAndRead();
  ASSERT_EQ(button.Caption(), QString("Stop"));
  const QString before = Message();
  const std::size_t starts = runner_.starts.size();
  button.Click();
  EXPECT_EQ(std::tuple(button.Caption(), Message(), CommandButtons(F())),
            std::tuple(QString(c.idleCaption), c.idleMessage ? QString(c.idleMessage) : before, c.idleButtons));
  EXPECT_FALSE(F().ButtonClearStatistics.Enabled() || invisible_.TimerStatistics.Enabled());
  EXPECT_NE(monitoring_, true);
  EXPECT_EQ(runner_.terminates, 0);
  clock_.Advance(10 * kStatMs);
  EXPECT_EQ(runner_.starts.size(), starts);
}

// --- The 10 ms pauses: before State starts and before a completion is
// dispatched; what the user does meanwhile follows the pause.

TEST_F(FormMain, PausesStateStartsAndCompletionsDispatchTenMillisecondsLater) {
  F().ButtonState.Click();  // locked at once
  EXPECT_EQ(std::tuple(Message(), CommandButtons(F()), F().CommandRunning()),
            std::tuple(QString(" Check modem state ..."), ".S......", true));
  clock_.Advance(TFormMain::kPauseMs - 1);
  EXPECT_TRUE(runner_.starts.empty());
  clock_.Advance(1);
  ASSERT_EQ(runner_.LastCommand(), 2);
  runner_.Complete(2, kId225);
  clock_.Advance(TFormMain::kPauseMs - 1);
  EXPECT_EQ(runner_.starts.size(), 1u) << "the answer gets its gap before the next request";
  EXPECT_EQ(Message(), QString(" Check modem state ..."));
  clock_.Advance(1);
  EXPECT_EQ(runner_.LastCommand(), 25);
}

TEST_F(FormMain, PausesStopPressedWhileAReadIsDispatchedEndsThePolling) {
  IdentifyAndRead();
  F().ButtonStatistics.Click();
  runner_.Complete(25);
  F().ButtonStatistics.Click();  // "Stop", during the pause
  EXPECT_EQ(runner_.terminates, 0);
  Settle();
  EXPECT_EQ(std::tuple(Message(), F().ButtonStatistics.Caption(), CommandButtons(F())),
            std::tuple(QString(" Get statistics stopped."), QString("Start"), "rSUROPAC"));
  clock_.Advance(10 * kStatMs);
  EXPECT_EQ(runner_.LastCommand(), 25);
  EXPECT_FALSE(runner_.Running());
}

// --- Statistics polling ----------------------------------------------------------------

TEST_F(FormMain, PollingEveryStatIntervalErrorKeepsItGoingClearMakesNextPollA28ThenBackTo25) {
  IdentifyAndRead();
  F().ButtonStatistics.Click();
  EXPECT_EQ(monitoring_, true);
  Complete(26);
  std::size_t starts = runner_.starts.size();
  clock_.Advance(kStatMs - 1);
  EXPECT_EQ(runner_.starts.size(), starts);
  clock_.Advance(1);
  ASSERT_EQ(runner_.starts.size(), ++starts);
  EXPECT_EQ(std::tuple(+runner_.LastCommand(), +runner_.starts.back().subAddress, Message()),
            std::tuple(25, 2, QString(" Get statistics ...")));
  EXPECT_TRUE(invisible_.TimerProgress.Enabled());
  Complete(25);

  F().ButtonClearStatistics.Click();
  EXPECT_EQ(runner_.starts.size(), starts) << "Clear only records the request";
  clock_.Advance(kStatMs);
  ASSERT_EQ(runner_.starts.size(), ++starts);
  EXPECT_EQ(std::pair(+runner_.LastCommand(), Message()), std::pair(28, QString(" Reset statistics ...")));
  Complete(28);
  clock_.Advance(kStatMs);
  ASSERT_EQ(runner_.starts.size(), ++starts);
  EXPECT_EQ(runner_.LastCommand(), 25);
}

// --- Loop tests ------------------------------------------------------------------------------

// `layout` once the test runs: labels State, Qual, BitRateLine, BitRatePx,
// Interface, Cable enabled, ClearTest enabled, the port 2 panel shown (for
// interface code 1 of a blank first-generation page; a blank second-generation
// page names no interface). `item` is in the selector of the target.
struct LoopCase { bool local; int item; bool secondGeneration; int testCode, pageCode; const char* layout; };

void PrintTo(const LoopCase& c, std::ostream* os) { *os << c.local << " item " << c.item << " " << c.secondGeneration; }

class LoopRequests : public FormMain, public testing::WithParamInterface<LoopCase> {};

TEST_P(LoopRequests, ConnectFirstReadDisconnectRequestBytes) {
  const LoopCase& c = GetParam();
  if (!c.local) F().RadioButtonRemote.Click();
  IdentifyAndRead({{2, 1}, {3, static_cast<std::uint8_t>(c.secondGeneration ? 0x22 : 0x21)},
                   {4, static_cast<std::uint8_t>(c.secondGeneration ? '5' : '0')}});
  ASSERT_EQ(F().SoftwareLevel(), c.secondGeneration ? 7 : 5);
  F().ComboBoxTest.Choose(c.item);
  const auto expect = [&](int command, int byte2, const char* message) {
    const auto& s = runner_.starts.back();  // command, sub-address, target, request bytes 1 and 2, level
    EXPECT_EQ(std::tuple(+s.command, +s.subAddress, s.local, +s.block[1], +s.block[2], s.softwareLevel),
              std::tuple(command, 2, c.local, 0, byte2, c.secondGeneration ? 7 : 5));
    EXPECT_EQ(Message(), QString(message));
  };
  F().ButtonTest.Click();
  EXPECT_EQ(monitoring_, true);
  expect(40, c.testCode, " Connecting ...");
  Complete(40);
  expect(50, c.pageCode, " Get loop statistics ...");
  Complete(50);
  // Then the five counter labels enabled, the cable and speed fields shown.
  EXPECT_EQ(Flags({F().LabelState.Enabled(), F().LabelQual.Enabled(), F().LabelBitRateLine.Enabled(),
                   F().LabelBitRatePx.Enabled(), F().LabelInterface.Enabled(), F().LabelCable.Enabled(),
                   F().ButtonClearTest.Enabled(), F().GroupBoxP2Nets.Visible(), F().LabelRdTime.Enabled(),
                   F().LabelNRdTime.Enabled(), F().LabelESTime.Enabled(), F().LabelSESTime.Enabled(),
                   F().LabelBits.Enabled(), F().StaticTextCable.Visible(), F().StaticTextSpeed.Visible()}),
            c.secondGeneration ? std::string(c.layout, 7) + "01111100" : c.layout + std::string("1111110"));
  F().ButtonTest.Click();  // right after the first reply: the request still goes out
  EXPECT_EQ(monitoring_, false);
  expect(46, c.testCode, " Disconnecting ...");
  EXPECT_FALSE(invisible_.TimerLoopStatistics.Enabled() || invisible_.TimerLoopNoLine10s.Enabled() ||
               invisible_.TimerLoopNoLine20s.Enabled());
}

using L = LoopCase;
constexpr const char *kCounters = "11100010", *kPort = "11111101", *kLl = "10001101";
INSTANTIATE_TEST_SUITE_P(
    Tests, LoopRequests,
    testing::Values(L{true, 0, false, 1, 5, kCounters}, L{true, 1, false, 4, 5, kCounters},
                    L{true, 2, false, 6, 5, kCounters}, L{true, 3, false, 2, 6, kPort}, L{true, 4, false, 7, 6, kPort},
                    L{true, 5, false, 8, 4, kCounters}, L{true, 6, false, 10, 6, kLl},
                    L{true, 0, true, 1, 9, kCounters},
                    L{true, 1, true, 4, 9, kCounters}, L{true, 2, true, 6, 9, kCounters}, L{true, 3, true, 2, 7, kPort},
                    L{true, 4, true, 7, 7, kPort}, L{true, 5, true, 8, 8, kCounters}, L{true, 6, true, 10, 7, kLl},
                    L{false, 0, false, 1, 5, kCounters}, L{false, 1, false, 2, 6, kPort},
                    L{false, 1, true, 2, 7, kPort},
                    L{false, 2, false, 8, 4, kCounters}, L{false, 3, true, 10, 7, kLl}));

TEST_F(FormMain, LoopClearMakesATick53SilentReadNoLineAfter10sDisconnectAfter20sSendsNothing) {
  ConnectedLoop({{2, 1}, {3, 0x21}, {4, '0'}});  // 2.10, level 5: RDL-ES reads page 5
  F().ButtonClearTest.Click();
  clock_.Advance(kLoopMs);
  EXPECT_EQ(std::pair(+runner_.LastCommand(), Message()), std::pair(53, QString(" Reset loop statistics ...")));
  Complete(53);
  clock_.Advance(kLoopMs);
  EXPECT_EQ(std::tuple(+runner_.LastCommand(), +runner_.starts.back().block[2], Message()),
            std::tuple(50, 5, QString(" Get loop statistics ...")));
  const std::size_t starts = runner_.starts.size();
  clock_.Advance(TFormMain::kNoLineWarningMs - 1);
  EXPECT_NE(F().StaticTextState.Text(), QString(" No Line"));
  clock_.Advance(1);
  const ui::StaticText& state = F().StaticTextState;
  EXPECT_EQ(std::tuple(state.Text(), state.FontColor(), invisible_.TimerLoopNoLine10s.Enabled()),
            std::tuple(QString(" No Line"), kRed, false));
  clock_.Advance(TFormMain::kNoLineGiveUpMs - TFormMain::kNoLineWarningMs);
  EXPECT_FALSE(invisible_.TimerLoopNoLine20s.Enabled());
  // The read ends with its own time-out; polling would go on.
  Complete(51);
  ASSERT_TRUE(invisible_.TimerLoopStatistics.Enabled());
  F().ButtonTest.Click();
  EXPECT_EQ(std::tuple(F().ButtonTest.Caption(), CommandButtons(F()), invisible_.TimerLoopStatistics.Enabled()),
            std::tuple(QString("Connect"), "rSUROPAC", false));
  clock_.Advance(60000);
  EXPECT_EQ(runner_.starts.size(), starts);
}

TEST_F(FormMain, LoopPortErrorDuringAReadNoLateNoLine) {
  ConnectedLoop();
  clock_.Advance(kLoopMs);
  Complete(17);
  clock_.Advance(60000);
  EXPECT_EQ(F().StaticTextState.Text(), QString());
}

// A failed first read keeps polling; the first good reply fixes the layout,
// a later interface only recolours indicators.
TEST_F(FormMain, LoopFailedFirstReadPollsOnLayoutOfTheFirstReplyStays) {
  IdentifyAndRead({{2, 1}, {3, 0x21}, {4, '0'}});  // level 5: first-generation pages
  F().ComboBoxTest.Choose(loop::kTestRdl);
  F().ButtonTest.Click();
  Complete(40);
  Complete(51);
  clock_.Advance(kLoopMs);
  ASSERT_EQ(std::pair(+runner_.LastCommand(), +runner_.starts.back().block[2]), std::pair(50, 6));
  Complete(50, {{9, 30}, {6, 0x03}});  // P2 sync, V.35, RTS and DTR on
  ASSERT_EQ(F().ButtonTest.Caption(), QString("Disconnect"));
  // The watchdogs count from the next tick, however long the loop interval.
  EXPECT_EQ(clock_.DueIn(invisible_.TimerLoopNoLine10s), kLoopMs + TFormMain::kNoLineWarningMs);
  EXPECT_EQ(clock_.DueIn(invisible_.TimerLoopNoLine20s), kLoopMs + TFormMain::kNoLineGiveUpMs);
  clock_.Advance(kLoopMs);
  Complete(50, {{9, 0x20}, {7, 0x12}});  // Ethernet now, Lnk and LRx lit
  EXPECT_EQ(std::pair(F().StaticTextInterface.Text(), F().InterfaceCode()), std::pair(QString("Eth QLD-ENX"), 2));
  EXPECT_EQ(Flags({F().GroupBoxP2Nets.Visible(), F().GroupBoxEthernet.Visible(), F().StaticTextCable.Visible(),
                   F().StaticTextSpeed.Visible(), F().ShapeP2RTS.BrushColor() == kGreen}),
            "10101");
  EXPECT_EQ(Colours(F(), kEthernetShapes), (std::vector{kGreen, kGreen, kLime, kLime}));
}

}  // namespace
}  // namespace rkvt::test
