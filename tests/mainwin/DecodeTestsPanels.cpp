#include <gtest/gtest.h>

#include <vector>

#include "Decode.h"
#include "DecodeTestSupport.h"

namespace rkvt {
namespace {

using namespace test;
using C = MainWindowControls;

constexpr std::uint8_t Slot(int kind) { return static_cast<std::uint8_t>(0x10 | kind << 5); }
constexpr int kP2 = 1, kEth10 = 2, kE1 = 3, kEth100 = 4;

// ---- interface layout

struct LayoutCase {
  int code;
  bool port2;
  int port2Left;
  bool ethernet;
  bool e1;
  bool cableAndPortRate;
  bool speed;
};
class Layout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, PanelsAndFields) {
  const LayoutCase& l = GetParam();
  C c;
  // Start from the opposite of everything expected.
  c.GroupBoxP2Nets.SetLeft(l.port2Left == 184 ? 256 : 184);
  for (ui::Control* k : std::initializer_list<ui::Control*>{&c.GroupBoxP2Nets, &c.LabelCable, &c.StaticTextCable,
                                                             &c.LabelBitRatePx, &c.StaticTextBitRatePx})
    k->SetVisible(!l.port2 && !l.cableAndPortRate);
  ApplyInterfaceLayout(l.code, c);
  EXPECT_EQ(c.GroupBoxP2Nets.Visible(), l.port2);
  EXPECT_EQ(c.GroupBoxP2Nets.Left(), l.port2Left);
  EXPECT_EQ(c.GroupBoxEthernet.Visible(), l.ethernet);
  EXPECT_EQ(c.GroupBoxE1.Visible(), l.e1);
  EXPECT_EQ(c.GroupBoxE1.Left(), 184);
  EXPECT_EQ(c.GroupBoxEthernet.Left(), 184);
  for (ui::Control* k : std::initializer_list<ui::Control*>{&c.LabelCable, &c.StaticTextCable, &c.LabelBitRatePx,
                                                             &c.StaticTextBitRatePx})
    EXPECT_EQ(k->Visible(), l.cableAndPortRate) << k->Name().toStdString();
  EXPECT_EQ(c.LabelSpeed.Visible(), l.speed);
  EXPECT_EQ(c.StaticTextSpeed.Visible(), l.speed);
}

INSTANTIATE_TEST_SUITE_P(Table, Layout,
                         ::testing::Values(LayoutCase{0, false, 184, false, false, false, false},
                                           LayoutCase{1, true, 184, false, false, true, false},
                                           LayoutCase{2, false, 184, true, false, false, true},
                                           LayoutCase{3, false, 184, true, false, false, true},
                                           LayoutCase{4, true, 184, false, false, true, false},
                                           LayoutCase{5, false, 184, false, true, false, false},
                                           LayoutCase{6, true, 256, false, true, true, false},
                                           LayoutCase{7, false, 184, false, false, false, false},
                                           LayoutCase{-1, false, 184, false, false, false, false}));

TEST(Panels, HidePanelsMovesPort2BackAndKeepsColours) {
  C c;
  Block page{{6, Slot(kE1)}, {7, 0x03}, {10, Slot(kP2)}, {12, 0x1F}};
  ASSERT_EQ(DecodeState(page.bytes, kSecondGen, 0, true, 0, c), 6);
  HidePanels(c);
  EXPECT_FALSE(c.GroupBoxP2Nets.Visible());
  EXPECT_EQ(c.GroupBoxP2Nets.Left(), 184);
  EXPECT_FALSE(c.GroupBoxEthernet.Visible());
  EXPECT_FALSE(c.GroupBoxE1.Visible());
  EXPECT_EQ(c.ShapeLOF.BrushColor(), kGreen);
  EXPECT_EQ(c.ShapeRA.BrushColor(), kLime);
  EXPECT_EQ(c.ShapeP2DCD.BrushColor(), kGreen);
}

// ---- indicator bits

enum Panel { kPort2Panel = 1, kEthernetPanel = 2, kE1Panel = 4 };

struct IndicatorCase {
  const char* name;
  std::int32_t level;
  std::vector<std::pair<int, std::uint8_t>> base;  // the interface
  int byte;                                         // the one bit set, or -1
  std::uint8_t mask;
  ShapeMember lit;
  int panels;  // recoloured panels; the others stay grey
};
class Indicator : public ::testing::TestWithParam<IndicatorCase> {};

// One bit set: its indicator is green, the rest of the interface's panels
// lime, and other panels untouched.
TEST_P(Indicator, OneBitLightsItsIndicatorOnly) {
  const IndicatorCase& k = GetParam();
  C c;
  Block page;
  for (auto [i, v] : k.base) page[i] = v;
  if (k.byte >= 0) page[k.byte] |= k.mask;
  DecodeState(page.bytes, k.level, 0, true, 0, c);
  const auto check = [&](const auto& shapes, Panel panel) {
    for (ShapeMember s : shapes) {
      const ui::Color expected = s == k.lit ? kGreen : (k.panels & panel) ? kLime : kFace;
      EXPECT_EQ((c.*s).BrushColor(), expected) << (c.*s).Name().toStdString();
    }
  };
  check(kPort2Shapes, kPort2Panel);
  check(kEthernetShapes, kEthernetPanel);
  check(kE1Shapes, kE1Panel);
}

const std::vector<std::pair<int, std::uint8_t>> kASync{{6, Slot(kP2)}};
const std::vector<std::pair<int, std::uint8_t>> kBAsync{{10, Slot(kP2)}, {13, 0x80}};
const std::vector<std::pair<int, std::uint8_t>> kAEth10{{6, Slot(kEth10)}};
const std::vector<std::pair<int, std::uint8_t>> kBEth100{{10, Slot(kEth100)}};
const std::vector<std::pair<int, std::uint8_t>> kAE1{{6, Slot(kE1)}};
const std::vector<std::pair<int, std::uint8_t>> kBE1{{10, Slot(kE1)}};
const std::vector<std::pair<int, std::uint8_t>> kE1Ksi{{6, Slot(kE1)}, {10, Slot(kP2)}};
const std::vector<std::pair<int, std::uint8_t>> kFirstSync{{9, 0x1F}};
const std::vector<std::pair<int, std::uint8_t>> kFirstAsync{{9, 0x5F}};
const std::vector<std::pair<int, std::uint8_t>> kFirstEth{{9, 0x3F}};

INSTANTIATE_TEST_SUITE_P(
    Table, Indicator,
    ::testing::Values(
        IndicatorCase{"ASyncNone", kSecondGen, kASync, -1, 0, nullptr, kPort2Panel},
        IndicatorCase{"ASyncRTS", kSecondGen, kASync, 8, 0x10, &C::ShapeP2RTS, kPort2Panel},
        IndicatorCase{"ASyncDTR", kSecondGen, kASync, 8, 0x08, &C::ShapeP2DTR, kPort2Panel},
        IndicatorCase{"ASyncDSR", kSecondGen, kASync, 8, 0x04, &C::ShapeP2DSR, kPort2Panel},
        IndicatorCase{"ASyncCTS", kSecondGen, kASync, 8, 0x02, &C::ShapeP2CTS, kPort2Panel},
        IndicatorCase{"ASyncDCD", kSecondGen, kASync, 8, 0x01, &C::ShapeP2DCD, kPort2Panel},
        IndicatorCase{"ASyncBit5Unused", kSecondGen, kASync, 8, 0xE0, nullptr, kPort2Panel},
        IndicatorCase{"BAsyncRTS", kSecondGen, kBAsync, 12, 0x10, &C::ShapeP2RTS, kPort2Panel},
        IndicatorCase{"BAsyncDCD", kSecondGen, kBAsync, 12, 0x01, &C::ShapeP2DCD, kPort2Panel},
        IndicatorCase{"AEth10LRx", kSecondGen, kAEth10, 7, 0x08, &C::ShapeELRX, kEthernetPanel},
        IndicatorCase{"AEth10LTx", kSecondGen, kAEth10, 7, 0x04, &C::ShapeELTX, kEthernetPanel},
        IndicatorCase{"AEth10Coll", kSecondGen, kAEth10, 7, 0x02, &C::ShapeECOLL, kEthernetPanel},
        IndicatorCase{"AEth10Lnk", kSecondGen, kAEth10, 7, 0x01, &C::ShapeELNK, kEthernetPanel},
        IndicatorCase{"BEth100LRx", kSecondGen, kBEth100, 11, 0x08, &C::ShapeELRX, kEthernetPanel},
        IndicatorCase{"BEth100Speed", kSecondGen, kBEth100, 11, 0x40, nullptr, kEthernetPanel},
        IndicatorCase{"AE1LOF", kSecondGen, kAE1, 7, 0x01, &C::ShapeLOF, kE1Panel},
        IndicatorCase{"AE1LOS", kSecondGen, kAE1, 7, 0x02, &C::ShapeLOS, kE1Panel},
        IndicatorCase{"AE1RA", kSecondGen, kAE1, 7, 0x04, &C::ShapeRA, kE1Panel},
        IndicatorCase{"AE1AI", kSecondGen, kAE1, 7, 0x08, &C::ShapeAI, kE1Panel},
        IndicatorCase{"AE1LOT", kSecondGen, kAE1, 7, 0x10, &C::ShapeLOT, kE1Panel},
        IndicatorCase{"AE1E", kSecondGen, kAE1, 7, 0x20, &C::ShapeE, kE1Panel},
        IndicatorCase{"AE1CRC", kSecondGen, kAE1, 7, 0x40, &C::ShapeCRC, kE1Panel},
        IndicatorCase{"AE1CV", kSecondGen, kAE1, 7, 0x80, &C::ShapeCV, kE1Panel},
        IndicatorCase{"BE1LOF", kSecondGen, kBE1, 11, 0x01, &C::ShapeLOF, kE1Panel},
        IndicatorCase{"KsiLOF", kSecondGen, kE1Ksi, 7, 0x01, &C::ShapeLOF, kE1Panel | kPort2Panel},
        IndicatorCase{"KsiRTS", kSecondGen, kE1Ksi, 12, 0x10, &C::ShapeP2RTS, kE1Panel | kPort2Panel},
        IndicatorCase{"KsiDCD", kSecondGen, kE1Ksi, 12, 0x01, &C::ShapeP2DCD, kE1Panel | kPort2Panel},
        IndicatorCase{"KsiIgnoresSlotAPortByte", kSecondGen, kE1Ksi, 8, 0x1F, nullptr, kE1Panel | kPort2Panel},
        IndicatorCase{"KsiIgnoresSlotBAlarmByte", kSecondGen, kE1Ksi, 11, 0xFF, nullptr, kE1Panel | kPort2Panel},
        IndicatorCase{"FirstSyncRTS", kFirstGen, kFirstSync, 6, 0x02, &C::ShapeP2RTS, kPort2Panel},
        IndicatorCase{"FirstSyncDTR", kFirstGen, kFirstSync, 6, 0x01, &C::ShapeP2DTR, kPort2Panel},
        IndicatorCase{"FirstSyncDSR", kFirstGen, kFirstSync, 7, 0x80, &C::ShapeP2DSR, kPort2Panel},
        IndicatorCase{"FirstSyncCTS", kFirstGen, kFirstSync, 7, 0x40, &C::ShapeP2CTS, kPort2Panel},
        IndicatorCase{"FirstSyncDCD", kFirstGen, kFirstSync, 7, 0x20, &C::ShapeP2DCD, kPort2Panel},
        IndicatorCase{"FirstAsyncRTS", kFirstGen, kFirstAsync, 6, 0x02, &C::ShapeP2RTS, kPort2Panel},
        IndicatorCase{"FirstEthLRx", kFirstGen, kFirstEth, 7, 0x10, &C::ShapeELRX, kEthernetPanel},
        IndicatorCase{"FirstEthLTx", kFirstGen, kFirstEth, 7, 0x08, &C::ShapeELTX, kEthernetPanel},
        IndicatorCase{"FirstEthColl", kFirstGen, kFirstEth, 7, 0x04, &C::ShapeECOLL, kEthernetPanel},
        IndicatorCase{"FirstEthLnk", kFirstGen, kFirstEth, 7, 0x02, &C::ShapeELNK, kEthernetPanel},
        // Interface not recognised: nothing is recoloured.
        IndicatorCase{"AKind6", kSecondGen, {{6, Slot(6)}, {7, 0xFF}, {8, 0xFF}}, -1, 0, nullptr, 0},
        IndicatorCase{"FirstKind5", kFirstGen, {{6, 0xFF}, {7, 0xFE}, {9, 0xBF}}, -1, 0, nullptr, 0},
        // No valid slot: nothing is recoloured either.
        IndicatorCase{"NoSlot", kSecondGen, {{6, 0x20}, {7, 0xFF}, {8, 0xFF}, {10, 0x60}, {11, 0xFF}, {12, 0xFF}},
                      -1, 0, nullptr, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Panels, FirstGenerationEthernetWithInvalidBitLeavesIndicators) {
  C c;
  Block valid{{7, 0x14}, {9, 0x3F}};  // LRx and Coll on
  ASSERT_EQ(DecodeState(valid.bytes, kFirstGen, 0, true, 0, c), 2);
  Block invalid{{7, 0x0B}, {9, 0x3F}};  // bit 0: not valid
  ASSERT_EQ(DecodeState(invalid.bytes, kFirstGen, 0, true, 2, c), 2);
  EXPECT_EQ(c.ShapeELRX.BrushColor(), kGreen);
  EXPECT_EQ(c.ShapeECOLL.BrushColor(), kGreen);
  EXPECT_EQ(c.ShapeELTX.BrushColor(), kLime);
  EXPECT_EQ(c.ShapeELNK.BrushColor(), kLime);
}

TEST(Panels, E1WithPort2SideBySide) {
  C c;
  HidePanels(c);
  Block page{{6, Slot(kE1)}, {7, 0x02}, {8, 0x1F}, {10, Slot(kP2)}, {11, 31}, {12, 0x08}};
  ASSERT_EQ(DecodeState(page.bytes, 11, 0, true, 0, c), 6);
  EXPECT_TRUE(c.GroupBoxE1.Visible());
  EXPECT_EQ(c.GroupBoxE1.Left(), 184);
  EXPECT_TRUE(c.GroupBoxP2Nets.Visible());
  EXPECT_EQ(c.GroupBoxP2Nets.Left(), 256);
  EXPECT_FALSE(c.GroupBoxEthernet.Visible());
  EXPECT_TRUE(c.StaticTextCable.Visible());
  EXPECT_TRUE(c.StaticTextBitRatePx.Visible());
  EXPECT_EQ(c.ShapeLOS.BrushColor(), kGreen);  // alarms from slot A
  EXPECT_EQ(c.ShapeLOF.BrushColor(), kLime);
  EXPECT_EQ(c.ShapeP2DTR.BrushColor(), kGreen);  // circuits from slot B
  EXPECT_EQ(c.ShapeP2RTS.BrushColor(), kLime);
  EXPECT_EQ(c.ShapeP2DCD.BrushColor(), kLime);
}

TEST(Panels, FirstGenerationAsyncShowsPort2CableAndPortRate) {
  C c;
  HidePanels(c);
  ApplyInterfaceLayout(5, c);
  Block page{{5, 0x40}, {9, 0x52}};
  ASSERT_EQ(DecodeState(page.bytes, kFirstGen, 0, true, 5, c), 4);
  EXPECT_TRUE(c.GroupBoxP2Nets.Visible());
  EXPECT_EQ(c.GroupBoxP2Nets.Left(), 184);
  EXPECT_FALSE(c.GroupBoxE1.Visible());
  EXPECT_FALSE(c.GroupBoxEthernet.Visible());
  EXPECT_TRUE(c.LabelCable.Visible());
  EXPECT_TRUE(c.StaticTextCable.Visible());
  EXPECT_TRUE(c.LabelBitRatePx.Visible());
  EXPECT_TRUE(c.StaticTextBitRatePx.Visible());
  EXPECT_FALSE(c.StaticTextSpeed.Visible());
  EXPECT_EQ(c.StaticTextBitRatePx.Text(), QString(" 115200"));
  EXPECT_EQ(c.StaticTextCable.Text(), QString("DCE RS-232/V.24"));
}

TEST(Panels, HiddenPanelKeepsItsColoursUntilShownAgain) {
  C c;
  Block e1{{6, Slot(kE1)}, {7, 0xA5}};
  ASSERT_EQ(DecodeState(e1.bytes, kSecondGen, 0, true, 0, c), 5);
  Block p2{{6, Slot(kP2)}, {8, 0x00}};
  ASSERT_EQ(DecodeState(p2.bytes, kSecondGen, 0, true, 5, c), 1);
  EXPECT_FALSE(c.GroupBoxE1.Visible());
  HidePanels(c);
  ApplyInterfaceLayout(5, c);
  EXPECT_TRUE(c.GroupBoxE1.Visible());
  const std::array<ui::Color, 8> expected{kGreen, kLime, kGreen, kLime, kLime, kGreen, kLime, kGreen};
  for (std::size_t i = 0; i < kE1Shapes.size(); ++i)
    EXPECT_EQ((c.*kE1Shapes[i]).BrushColor(), expected[i]) << (c.*kE1Shapes[i]).Name().toStdString();
}

TEST(Panels, NoValidSlotLeavesTheLayoutAlone) {
  C c;
  HidePanels(c);
  Block invalid{{6, 0x20}, {10, 0x60}};
  DecodeState(invalid.bytes, kSecondGen, 0, true, 1, c);
  EXPECT_FALSE(c.GroupBoxP2Nets.Visible());
  EXPECT_FALSE(c.GroupBoxE1.Visible());
}

// ---- test counter layouts

struct CounterCase {
  int testIndex;
  bool times;
  bool bits;
};
class CounterLayout : public ::testing::TestWithParam<CounterCase> {};

TEST_P(CounterLayout, BlanksThenShowsTheTestsCounters) {
  const CounterCase& k = GetParam();
  C c;
  const std::vector<std::pair<ui::Label*, ui::StaticText*>> times{{&c.LabelRdTime, &c.StaticTextRdTime},
                                                                  {&c.LabelNRdTime, &c.StaticTextNRdTime},
                                                                  {&c.LabelESTime, &c.StaticTextESTime},
                                                                  {&c.LabelSESTime, &c.StaticTextSESTime}};
  for (auto [label, field] : times) {
    label->SetVisible(!k.times);
    field->SetVisible(!k.times);
    field->SetText("1:00:00 ");
  }
  c.LabelBits.SetVisible(!k.bits);
  c.StaticTextBits.SetVisible(!k.bits);
  c.StaticTextBits.SetText("1.000 ");

  ApplyCounterLayout(k.testIndex, c);

  for (auto [label, field] : times) {
    EXPECT_EQ(label->Visible(), k.times) << label->Name().toStdString();
    EXPECT_EQ(field->Visible(), k.times) << field->Name().toStdString();
    EXPECT_FALSE(label->Enabled()) << label->Name().toStdString();
    EXPECT_TRUE(field->Text().isEmpty()) << field->Name().toStdString();
  }
  EXPECT_EQ(c.LabelBits.Visible(), k.bits);
  EXPECT_EQ(c.StaticTextBits.Visible(), k.bits);
  EXPECT_FALSE(c.LabelBits.Enabled());
  EXPECT_TRUE(c.StaticTextBits.Text().isEmpty());
  EXPECT_FALSE(c.ButtonClearTest.Enabled());
  EXPECT_FALSE(c.LabelTest.Enabled());
  EXPECT_FALSE(c.ComboBoxTest.Enabled());
}

INSTANTIATE_TEST_SUITE_P(Table, CounterLayout,
                         ::testing::Values(CounterCase{0, true, false}, CounterCase{1, true, false},
                                           CounterCase{2, true, false}, CounterCase{3, false, false},
                                           CounterCase{4, false, false}, CounterCase{5, false, true},
                                           CounterCase{6, false, false}, CounterCase{7, true, false},
                                           CounterCase{-1, true, false}));

TEST(CounterLayout, BlankTestChangesNoVisibility) {
  C c;
  c.LabelBits.SetVisible(false);
  BlankTest(c);
  EXPECT_FALSE(c.LabelBits.Visible());
  EXPECT_TRUE(c.LabelRdTime.Visible());
}

}  // namespace
}  // namespace rkvt
