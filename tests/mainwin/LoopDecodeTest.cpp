// The loop page of every test kind, built the way the emulated modem builds it.

#include <QStringList>

#include "mainwin/Decode.h"
#include "mainwin/LoopTestKinds.h"
#include "sim/ModemPeer.h"
#include "DecodeTestSupport.h"

namespace rkvt {
namespace {

using namespace test;

// A modem with a low input level, quality B, line rate index 2, synchronous
// P2 with an RS-232 cable (port rate index 1 in slot A), counters running.
sim::ModemPeer Modem() {
  sim::ModemPeer m;
  m.state.line.levelTooLow = true;
  m.state.quality = 1;
  m.state.lineRate = 2;
  m.state.cable = m.state.slotA.cable = 18;
  m.state.slotA.syncRate = 1;
  sim::LoopTests::Counters& c = m.loops.Values();
  c = {.readyMs = 90'061'000, .notReadyMs = 59'000, .erroredMs = 600'000, .severelyErroredMs = 3'600'000,
       .bits = 1'234'567};
  return m;
}

Block LoopPage(const sim::ModemPeer& m, int test, bool second) {
  const std::int32_t level = second ? kSecondGen : kFirstGen;
  const sim::PageBlock data = m.loops.Page(loop::PageCode(test, level), m.state,
                                           second ? sim::PageLayout::Second : sim::PageLayout::First);
  Block b;
  std::copy(data.begin(), data.end(), b.bytes.begin() + 4);
  return b;
}

QStringList Shown(const MainWindowControls& c) {
  QStringList texts;
  for (const ui::StaticText* f : {&c.StaticTextState, &c.StaticTextQual, &c.StaticTextBitRateLine,
                                  &c.StaticTextBitRatePx, &c.StaticTextInterface, &c.StaticTextCable,
                                  &c.StaticTextRdTime, &c.StaticTextNRdTime, &c.StaticTextESTime,
                                  &c.StaticTextSESTime, &c.StaticTextBits})
    texts << f->Text();
  return texts;
}

// State, quality, line rate, port rate, interface, cable, four times, bits.
const QString kEs = "Input level too low|B| 192000||||1 d 1:01:01 |0:00:59 |0:10:00 |1:00:00 |";
const QString kDl = "Input level too low|B| 192000||||||||1.234.567 ";
const QString kLl = "Input level too low||||P2 Sync|DCE RS-232/V.24|||||";
// Port rate: the line rate on first-generation synchronous P2, slot A's index 1 on the second.
const QString kLoopback1 = "Input level too low|B| 192000| 192000|P2 Sync|DCE RS-232/V.24|||||";
const QString kLoopback2 = "Input level too low|B| 192000| 128000|P2 Sync|DCE RS-232/V.24|||||";

TEST(LoopDecode, EachTestShowsItsOwnFieldsFromItsOwnPage) {
  const QString expected[loop::kTestCount][2] = {
      {kEs, kEs}, {kEs, kEs}, {kEs, kEs}, {kLoopback1, kLoopback2}, {kLoopback1, kLoopback2}, {kDl, kDl}, {kLl, kLl}};
  const sim::ModemPeer modem = Modem();
  for (int test = 0; test < loop::kTestCount; ++test) {
    for (bool second : {false, true}) {
      MainWindowControls c;
      HidePanels(c);
      Block page = LoopPage(modem, test, second);
      const int code = DecodeLoop(page.bytes, test, second ? kSecondGen : kFirstGen, 0, 1, c);
      EXPECT_EQ(Shown(c).join('|'), expected[test][second]) << test << ' ' << second;
      EXPECT_EQ(code, 1);
      EXPECT_EQ(c.StaticTextState.FontColor(), kRed);
      // The layout is the first reply's business, never the decode's.
      EXPECT_FALSE(c.GroupBoxP2Nets.Visible() || c.GroupBoxEthernet.Visible() || c.GroupBoxE1.Visible());
    }
  }
}

TEST(LoopDecode, PortRateFollowsThePreviousInterfaceCodeAndTheStateFieldOnlyTheLine) {
  sim::ModemPeer modem = Modem();
  modem.state.line = {};
  modem.state.quality = 5;  // no line: still the line condition, never "Error"
  modem.state.asyncRate = 2;
  modem.state.slotA.asyncRate = 2;
  modem.state.activity = sim::TestActivity(sim::test_code::kRdl, sim::Actor::LocalTerminal);
  const struct {
    bool second;
    int previous;
    const char* portRate;
  } cases[] = {{false, 4, " 230400"}, {false, 1, " 192000"}, {false, 0, ""},
               {true, 4, " 230400"},  {true, 6, " 128000"},  {true, 2, ""}};
  for (const auto& k : cases) {
    MainWindowControls c;
    Block page = LoopPage(modem, loop::kTestRdl, k.second);
    EXPECT_EQ(DecodeLoop(page.bytes, loop::kTestRdl, k.second ? kSecondGen : kFirstGen, 0, k.previous, c), 1);
    EXPECT_EQ(c.StaticTextBitRatePx.Text(), QString(k.portRate)) << k.second << ' ' << k.previous;
    EXPECT_EQ(std::pair(c.StaticTextState.Text(), c.StaticTextState.FontColor()), std::pair(QString("Normal"), kNormal));
    ExpectField(c.StaticTextQual, "No Line", kRed, kFace);
  }
  // A second-generation page with no valid slot keeps the interface it had.
  modem.state.slotA.valid = false;
  MainWindowControls c;
  Block page = LoopPage(modem, loop::kTestLl, true);
  EXPECT_EQ(DecodeLoop(page.bytes, loop::kTestLl, kSecondGen, 0, 5, c), 5);
  EXPECT_EQ(c.StaticTextInterface.Text(), QString());
}

}  // namespace
}  // namespace rkvt
