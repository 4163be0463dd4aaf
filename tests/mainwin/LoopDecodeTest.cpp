// The loop page of every test kind, built the way the emulated modem builds it.

#include "mainwin/Decode.h"
#include "mainwin/LoopTestKinds.h"
#include "sim/ModemPeer.h"
#include "DecodeTestSupport.h"

namespace rkvt {
namespace {

using namespace test;

// No line (quality 5) at a low input level, line rate index 2, asynchronous
// rate index 2, synchronous P2 with an RS-232 cable and port rate index 1.
// Shows state, quality, line rate, port rate, interface, cable, four times, bits.
QString Decoded(int test, bool second, int previousInterface) {
  sim::ModemPeer m;
  m.state = {.line = {.levelTooLow = true}, .quality = 5, .lineRate = 2, .asyncRate = 2, .cable = 18,
             .slotA = {.valid = true, .cable = 18, .syncRate = 1, .asyncRate = 2}};
  m.loops.Values() = {90'061'000, 59'000, 600'000, 3'600'000, -1'234'567};
  const std::int32_t level = second ? kSecondGen : kFirstGen;
  const sim::PageBlock page =
      m.loops.Page(loop::PageCode(test, level), m.state, second ? sim::PageLayout::Second : sim::PageLayout::First);
  Block b;
  std::copy(page.begin(), page.end(), b.bytes.begin() + 4);
  MainWindowControls c;
  HidePanels(c);
  EXPECT_EQ(DecodeLoop(b.bytes, test, level, 0, previousInterface, c), 1);
  // Only the line condition in red, never "Error"; the layout is not the decode's.
  EXPECT_EQ(c.StaticTextState.FontColor(), kRed);
  EXPECT_FALSE(c.GroupBoxP2Nets.Visible() || c.GroupBoxEthernet.Visible() || c.GroupBoxE1.Visible());
  QStringList texts;
  for (const ui::StaticText* f : {&c.StaticTextState, &c.StaticTextQual, &c.StaticTextBitRateLine,
                                  &c.StaticTextBitRatePx, &c.StaticTextInterface, &c.StaticTextCable,
                                  &c.StaticTextRdTime, &c.StaticTextNRdTime, &c.StaticTextESTime,
                                  &c.StaticTextSESTime, &c.StaticTextBits})
    texts << f->Text();
  return texts.join('|');
}

TEST(LoopDecode, EachTestShowsItsOwnFieldsFromItsOwnPagePortRateByThePreviousInterface) {
  const char* es = "Input level too low|No Line| 192000||||1 d 1:01:01 |0:00:59 |0:10:00 |1:00:00 |";
  const char* dl = "Input level too low|No Line| 192000||||||||-1.234.567 ";
  const char* ll = "Input level too low||||P2 Sync|DCE RS-232/V.24|||||";
  const struct { int test; bool second; int previous; const char* shown; } cases[] = {
      {0, false, 1, es}, {1, true, 1, es}, {2, false, 1, es}, {5, false, 1, dl}, {5, true, 1, dl}, {6, false, 1, ll},
      {6, true, 1, ll},
      // Synchronous P2: the line rate on first-generation pages, slot A's index 1 on two-slot ones.
      {3, false, 1, "Input level too low|No Line| 192000| 192000|P2 Sync|DCE RS-232/V.24|||||"},
      {4, true, 6, "Input level too low|No Line| 192000| 128000|P2 Sync|DCE RS-232/V.24|||||"},
      {4, false, 4, "Input level too low|No Line| 192000| 230400|P2 Sync|DCE RS-232/V.24|||||"},
      {3, true, 4, "Input level too low|No Line| 192000| 230400|P2 Sync|DCE RS-232/V.24|||||"},
      {3, true, 2, "Input level too low|No Line| 192000||P2 Sync|DCE RS-232/V.24|||||"},
  };
  for (const auto& k : cases) EXPECT_EQ(Decoded(k.test, k.second, k.previous), QString(k.shown)) << k.test << k.second;
}

}  // namespace
}  // namespace rkvt
