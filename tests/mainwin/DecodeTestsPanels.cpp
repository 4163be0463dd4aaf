#include <vector>

#include "mainwin/Decode.h"
#include "DecodeTestSupport.h"

namespace rkvt {
namespace {

using namespace test;

// ---- interface layout by code: port 2 panel ('P', or 'R' right of the E1
// panel), Ethernet panel, E1 panel, cable and port rate fields, speed field.

TEST(Panels, LayoutByInterfaceCode) {
  const char* layouts[] = {"-----", "P--F-", "-E--S", "-E--S", "P--F-", "--1--", "R-1F-", "-----"};  // -1 as 0
  for (int code = -1; code < 8; ++code) {
    const std::string l = layouts[code < 0 ? 0 : code];
    C c;
    const std::pair<ui::Control*, int> shown[] = {
        {&c.GroupBoxP2Nets, 0}, {&c.GroupBoxEthernet, 1},   {&c.GroupBoxE1, 2}, {&c.LabelCable, 3},
        {&c.StaticTextCable, 3}, {&c.LabelBitRatePx, 3}, {&c.StaticTextBitRatePx, 3}, {&c.LabelSpeed, 4},
        {&c.StaticTextSpeed, 4}};
    for (auto [k, i] : shown) k->SetVisible(l[i] == '-');  // the opposite of what is expected
    c.GroupBoxP2Nets.SetLeft(l[0] == 'R' ? 184 : 256);
    ApplyInterfaceLayout(code, c);
    for (auto [k, i] : shown) EXPECT_EQ(k->Visible(), l[i] != '-') << k->Name().toStdString() << " code " << code;
    EXPECT_EQ(c.GroupBoxP2Nets.Left(), l[0] == 'R' ? 256 : 184) << code;
    EXPECT_EQ(std::pair(c.GroupBoxE1.Left(), c.GroupBoxEthernet.Left()), std::pair(184, 184));
  }
}

// ---- indicators: each bit of a byte set alone lights its indicator green,
// the rest of the interface's panels lime; other panels stay grey.

enum Panel { kPort2Panel = 1, kEthernetPanel = 2, kE1Panel = 4 };
using Bits = std::array<ShapeMember, 8>;  // by bit 0..7; nullptr: the bit drives nothing
constexpr Bits kSlotP2{&C::ShapeP2DCD, &C::ShapeP2CTS, &C::ShapeP2DSR, &C::ShapeP2DTR, &C::ShapeP2RTS};
constexpr Bits kSlotEth{&C::ShapeELNK, &C::ShapeECOLL, &C::ShapeELTX, &C::ShapeELRX};
constexpr Bits kSlotE1{&C::ShapeLOF, &C::ShapeLOS, &C::ShapeRA, &C::ShapeAI, &C::ShapeLOT, &C::ShapeE, &C::ShapeCRC,
                       &C::ShapeCV};
constexpr Bits kFirstP2Byte6{&C::ShapeP2DTR, &C::ShapeP2RTS};
constexpr Bits kFirstP2Byte7{nullptr, nullptr, nullptr, nullptr, nullptr, &C::ShapeP2DCD, &C::ShapeP2CTS,
                            &C::ShapeP2DSR};
constexpr Bits kFirstEth{nullptr, &C::ShapeELNK, &C::ShapeECOLL, &C::ShapeELTX, &C::ShapeELRX};
constexpr Bits kNone{};

// The interface's bytes, then the byte whose bits are set one at a time, bits it drives, panels lit, bits not tried.
struct IndicatorCase { const char* name; std::int32_t level; std::vector<std::pair<int, std::uint8_t>> base; int byte;
                       Bits bits; int panels; std::uint8_t skip = 0; };
class Indicator : public ::testing::TestWithParam<IndicatorCase> {};

TEST_P(Indicator, EachBitLightsItsIndicatorOnly) {
  const IndicatorCase& k = GetParam();
  for (int bit = 0; bit < 8; ++bit) {
    if (k.skip >> bit & 1) continue;
    C c;
    Block page;
    for (auto [i, v] : k.base) page[i] = v;
    page[k.byte] |= static_cast<std::uint8_t>(1 << bit);
    DecodeState(page.bytes, k.level, 0, true, 0, c);
    const auto check = [&](const auto& shapes, Panel panel) {
      for (ShapeMember s : shapes) {
        const ui::Color expected = s == k.bits[bit] ? kGreen : (k.panels & panel) ? kLime : kFace;
        EXPECT_EQ((c.*s).BrushColor(), expected) << (c.*s).Name().toStdString() << " bit " << bit;
      }
    };
    check(kPort2Shapes, kPort2Panel);
    check(kEthernetShapes, kEthernetPanel);
    check(kE1Shapes, kE1Panel);
  }
}

using I = IndicatorCase;
const std::vector<std::pair<int, std::uint8_t>> kE1Ksi{{6, Slot(kE1)}, {10, Slot(kP2)}};
constexpr int kKsi = kE1Panel | kPort2Panel;
INSTANTIATE_TEST_SUITE_P(
    Table, Indicator,
    ::testing::Values(
        I{"ASync", kSecondGen, {{6, Slot(kP2)}}, 8, kSlotP2, kPort2Panel},
        I{"BAsync", kSecondGen, {{10, Slot(kP2)}, {13, 0x80}}, 12, kSlotP2, kPort2Panel},
        I{"AEth10", kSecondGen, {{6, Slot(kEth10)}}, 7, kSlotEth, kEthernetPanel},
        I{"BEth100", kSecondGen, {{10, Slot(kEth100)}}, 11, kSlotEth, kEthernetPanel},
        I{"AE1", kSecondGen, {{6, Slot(kE1)}}, 7, kSlotE1, kE1Panel},
        I{"BE1", kSecondGen, {{10, Slot(kE1)}}, 11, kSlotE1, kE1Panel},
        // E1 + KSI: alarms from slot A, circuits from slot B, nothing from the other two bytes.
        I{"KsiAlarms", kSecondGen, kE1Ksi, 7, kSlotE1, kKsi}, I{"KsiCircuits", kSecondGen, kE1Ksi, 12, kSlotP2, kKsi},
        I{"KsiSlotAPortByte", kSecondGen, kE1Ksi, 8, kNone, kKsi},
        I{"KsiSlotBAlarmByte", kSecondGen, kE1Ksi, 11, kNone, kKsi},
        I{"FirstSyncByte6", kFirstGen, {{9, 0x1F}}, 6, kFirstP2Byte6, kPort2Panel},
        I{"FirstSyncByte7", kFirstGen, {{9, 0x1F}}, 7, kFirstP2Byte7, kPort2Panel},
        I{"FirstAsyncByte6", kFirstGen, {{9, 0x5F}}, 6, kFirstP2Byte6, kPort2Panel},
        I{"FirstEth", kFirstGen, {{9, 0x3F}}, 7, kFirstEth, kEthernetPanel, 0x01},  // bit 0: below
        // Interface not recognised, or no valid slot: nothing is recoloured.
        I{"AKind6", kSecondGen, {{6, Slot(6)}, {7, 0xFF}}, 8, kNone, 0},
        I{"FirstKind5", kFirstGen, {{6, 0xFF}, {7, 0xFE}, {9, 0xBF}}, 7, kNone, 0},
        I{"NoSlot", kSecondGen, {{6, 0x20}, {7, 0xFF}, {8, 0xFF}, {10, 0x60}, {11, 0xFF}}, 12, kNone, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Panels, FirstGenerationEthernetShowsItsPanelAndInvalidBitLeavesIndicators) {
  C c;
  HidePanels(c);
  Block valid{{7, 0x14}, {9, 0x3F}};  // LRx and Coll on
  ASSERT_EQ(DecodeState(valid.bytes, kFirstGen, 0, true, 0, c), 2);
  EXPECT_TRUE(c.GroupBoxEthernet.Visible() && c.StaticTextSpeed.Visible());
  Block invalid{{7, 0x0B}, {9, 0x3F}};  // bit 0: not valid
  ASSERT_EQ(DecodeState(invalid.bytes, kFirstGen, 0, true, 2, c), 2);
  EXPECT_EQ(Colours(c, kEthernetShapes), (std::vector{kLime, kGreen, kLime, kGreen}));  // LNK LRX LTX COLL
}

TEST(Panels, E1WithPort2SideBySideThenHiddenKeepingTheirColours) {
  C c;
  HidePanels(c);
  Block page{{6, Slot(kE1)}, {7, 0xA5}, {8, 0x1F}, {10, Slot(kP2)}, {11, 31}, {12, 0x08}};
  ASSERT_EQ(DecodeState(page.bytes, 11, 0, true, 0, c), 6);
  // The decode lays the panels out by the code (each layout: LayoutByInterfaceCode).
  EXPECT_TRUE(c.GroupBoxE1.Visible() && c.GroupBoxP2Nets.Visible() && c.GroupBoxP2Nets.Left() == 256);
  HidePanels(c);
  EXPECT_FALSE(c.GroupBoxP2Nets.Visible() || c.GroupBoxE1.Visible() || c.GroupBoxEthernet.Visible());
  EXPECT_EQ(c.GroupBoxP2Nets.Left(), 184);
  EXPECT_EQ(Colours(c, kE1Shapes), (std::vector{kGreen, kLime, kGreen, kLime, kLime, kGreen, kLime, kGreen}));
  EXPECT_EQ(Colours(c, kPort2Shapes), (std::vector{kGreen, kLime, kLime, kLime, kLime}));  // DTR from slot B
}

// ---- test counter layouts: blanked, then 'T' the four times shown, 'B' the
// bit counter, '-' neither

TEST(CounterLayout, BlanksThenShowsTheTestsCounters) {
  const char layouts[] = "TTT--B-T";  // test index 0..7; -1 like 0
  for (int index = -1; index < 8; ++index) {
    C c;
    const std::pair<ui::Label*, ui::StaticText*> counters[] = {
        {&c.LabelRdTime, &c.StaticTextRdTime},   {&c.LabelNRdTime, &c.StaticTextNRdTime},
        {&c.LabelESTime, &c.StaticTextESTime},   {&c.LabelSESTime, &c.StaticTextSESTime},
        {&c.LabelBits, &c.StaticTextBits}};
    std::string want, shown;
    for (auto [label, field] : counters) {
      want += layouts[std::max(index, 0)] == (label == &c.LabelBits ? 'B' : 'T') ? "11" : "00";
      label->SetVisible(want.back() == '0');
      field->SetVisible(want.back() == '0');
      field->SetText("1");
    }
    ApplyCounterLayout(index, c);
    for (auto [label, field] : counters)
      EXPECT_FALSE(label->Enabled() || !field->Text().isEmpty()) << label->Name().toStdString();
    EXPECT_FALSE(c.ButtonClearTest.Enabled() || c.LabelTest.Enabled() || c.ComboBoxTest.Enabled());
    BlankTest(c);  // changes no visibility
    for (auto [label, field] : counters) shown += Flags({label->Visible(), field->Visible()});
    EXPECT_EQ(shown, want) << index;
  }
}

}  // namespace
}  // namespace rkvt
