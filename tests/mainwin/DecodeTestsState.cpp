#include <gtest/gtest.h>

#include <vector>

#include "Decode.h"
#include "DecodeTestSupport.h"

namespace rkvt {
namespace {

using namespace test;

// First-generation byte 9: interface in bits 5-7, cable in bits 0-4.
Block FirstGenPage(int interfaceBits, int cable = 31, std::uint8_t byte5 = 0) {
  return Block{{0, 25}, {5, byte5}, {9, static_cast<std::uint8_t>(interfaceBits << 5 | cable)}};
}

// A valid second-generation slot head of the given interface kind.
constexpr std::uint8_t Slot(int kind) { return static_cast<std::uint8_t>(0x10 | kind << 5); }
constexpr int kP2 = 1, kEth10 = 2, kE1 = 3, kEth100 = 4;

void ExpectField(const ui::StaticText& f, const char* text, ui::Color font, ui::Color background) {
  EXPECT_EQ(f.Text(), QString(text)) << f.Name().toStdString();
  EXPECT_EQ(f.FontColor(), font) << f.Name().toStdString();
  EXPECT_EQ(f.Background(), background) << f.Name().toStdString();
}

// ---- line quality

struct QualityCase {
  int cls;
  const char* text;
  ui::Color font;
  ui::Color background;
};
class Quality : public ::testing::TestWithParam<QualityCase> {};

TEST_P(Quality, TextAndColoursInBothGenerations) {
  const QualityCase& q = GetParam();
  for (std::int32_t level : {kFirstGen, kSecondGen}) {
    MainWindowControls c;
    c.StaticTextQual.SetBackground(ui::colors::kYellow);  // must be overwritten
    Block page{{5, static_cast<std::uint8_t>(q.cls)}};
    DecodeState(page.bytes, level, 0, true, 0, c);
    ExpectField(c.StaticTextQual, q.text, q.font, q.background);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Quality,
                         ::testing::Values(QualityCase{0, "A", kNormal, kFace}, QualityCase{1, "B", kTeal, kFace},
                                           QualityCase{2, "C", kPurple, kFace}, QualityCase{3, "D", kMaroon, kFace},
                                           QualityCase{4, "E", kOlive, kFace}, QualityCase{5, "No Line", kRed, kFace},
                                           QualityCase{6, "Unknown", kWhite, kRed},
                                           QualityCase{7, "Unknown", kWhite, kRed}));

// ---- first-generation line rate; a synchronous port runs at it

struct FirstRateCase {
  int index;
  const char* text;
};
class FirstGenerationLineRate : public ::testing::TestWithParam<FirstRateCase> {};

TEST_P(FirstGenerationLineRate, LineAndSyncPortShowTheSameText) {
  const FirstRateCase& r = GetParam();
  MainWindowControls c;
  Block page = FirstGenPage(0, 31, static_cast<std::uint8_t>(r.index << 3 | 0xC0));
  EXPECT_EQ(DecodeState(page.bytes, kFirstGen, 0, true, 0, c), 1);
  const bool unknown = r.index >= 5;
  ExpectField(c.StaticTextBitRateLine, r.text, unknown ? kWhite : kNormal, unknown ? kRed : kFace);
  ExpectField(c.StaticTextBitRatePx, r.text, unknown ? kWhite : kNormal, unknown ? kRed : kFace);
}

INSTANTIATE_TEST_SUITE_P(Table, FirstGenerationLineRate,
                         ::testing::Values(FirstRateCase{0, " 64000"}, FirstRateCase{1, " 128000"},
                                           FirstRateCase{2, " 192000"}, FirstRateCase{3, " 256000"},
                                           FirstRateCase{4, " 320000"}, FirstRateCase{5, " Unknown"},
                                           FirstRateCase{6, " Unknown"}, FirstRateCase{7, " Unknown"}));

// ---- second-generation rates: four formulas by channel variant

struct VariantRateCase {
  std::int32_t variant;
  int n;
  const char* text;
};
class SecondGenerationRate : public ::testing::TestWithParam<VariantRateCase> {};

TEST_P(SecondGenerationRate, LineRateFromByteFiveAndPortRateFromTheSlot) {
  const VariantRateCase& r = GetParam();
  MainWindowControls c;
  c.StaticTextBitRateLine.SetFontColor(kWhite);
  Block page{{5, static_cast<std::uint8_t>(r.n << 3)}, {6, Slot(kP2)}, {9, static_cast<std::uint8_t>(r.n)}};
  EXPECT_EQ(DecodeState(page.bytes, kSecondGen, r.variant, true, 0, c), 1);
  ExpectField(c.StaticTextBitRateLine, r.text, kNormal, kFace);
  ExpectField(c.StaticTextBitRatePx, r.text, kNormal, kFace);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SecondGenerationRate,
    ::testing::Values(VariantRateCase{0, 0, " 64000"}, VariantRateCase{0, 1, " 128000"},
                      VariantRateCase{0, 15, " 1024000"}, VariantRateCase{3, 2, " 192000"},
                      VariantRateCase{1, 4, " 320000"}, VariantRateCase{7, 0, " 16000"},
                      VariantRateCase{7, 1, " 32000"}, VariantRateCase{7, 15, " 256000"},
                      VariantRateCase{8, 0, " 9600"}, VariantRateCase{8, 1, " 14400"},
                      VariantRateCase{8, 2, " 16800"}, VariantRateCase{8, 3, " 19200"},
                      VariantRateCase{8, 4, " 24000"}, VariantRateCase{8, 5, " 5600"},
                      VariantRateCase{8, 6, " 24000"}, VariantRateCase{8, 7, " 24000"},
                      VariantRateCase{8, 13, " 5600"},  // T8 is indexed by n AND 7
                      VariantRateCase{9, 0, " 24000"}, VariantRateCase{9, 1, " 28800"},
                      VariantRateCase{9, 2, " 33600"}, VariantRateCase{9, 3, " 38400"},
                      VariantRateCase{9, 4, " 50400"}, VariantRateCase{9, 5, " 12000"},
                      VariantRateCase{9, 6, " 24000"}, VariantRateCase{9, 7, " 24000"},
                      VariantRateCase{9, 12, " 50400"}));

TEST(SecondGenerationRate, LineRateIndexHasFourBitsAndIgnoresBitSeven) {
  MainWindowControls c;
  Block page{{5, 0xFD}};  // class 5, n = 15
  DecodeState(page.bytes, kSecondGen, 0, true, 0, c);
  EXPECT_EQ(c.StaticTextBitRateLine.Text(), QString(" 1024000"));
}

// ---- asynchronous port rate

struct AsyncCase {
  int index;
  const char* text;
};
class AsyncPortRate : public ::testing::TestWithParam<AsyncCase> {};

TEST_P(AsyncPortRate, BothGenerations) {
  const AsyncCase& r = GetParam();
  const bool unknown = r.index == 3;
  {
    MainWindowControls c;
    Block page = FirstGenPage(2, 31, static_cast<std::uint8_t>(r.index << 6));
    EXPECT_EQ(DecodeState(page.bytes, kFirstGen, 0, true, 0, c), 4);
    EXPECT_EQ(c.StaticTextInterface.Text(), QString("P2 Async"));
    ExpectField(c.StaticTextBitRatePx, r.text, unknown ? kWhite : kNormal, unknown ? kRed : kFace);
  }
  {
    MainWindowControls c;
    Block page{{10, Slot(kP2)}, {13, static_cast<std::uint8_t>(0x80 | r.index << 4 | 0x0F)}};
    EXPECT_EQ(DecodeState(page.bytes, kSecondGen, 0, true, 0, c), 4);
    EXPECT_EQ(c.StaticTextInterface.Text(), QString("P2 Async"));
    ExpectField(c.StaticTextBitRatePx, r.text, unknown ? kWhite : kNormal, unknown ? kRed : kFace);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, AsyncPortRate,
                         ::testing::Values(AsyncCase{0, " 57600"}, AsyncCase{1, " 115200"}, AsyncCase{2, " 230400"},
                                           AsyncCase{3, " Unknown"}));

// ---- cable

struct CableCase {
  int code;
  const char* text;
  ui::Color font;
};
class Cable : public ::testing::TestWithParam<CableCase> {};

TEST_P(Cable, TextAndColourKeepTheBackground) {
  const CableCase& k = GetParam();
  const auto code = static_cast<std::uint8_t>(k.code);
  Block first = FirstGenPage(0, k.code);
  Block slotA{{6, Slot(kP2)}, {7, static_cast<std::uint8_t>(0xE0 | code)}};  // bits 5-7 are not cable
  Block slotB{{10, Slot(kP2)}, {11, code}};
  const std::vector<std::pair<Block*, std::int32_t>> pages{{&first, kFirstGen}, {&slotA, kSecondGen}, {&slotB, kSecondGen}};
  for (auto [page, level] : pages) {
    MainWindowControls c;
    c.StaticTextCable.SetBackground(ui::colors::kYellow);
    DecodeState(page->bytes, level, 0, true, 0, c);
    ExpectField(c.StaticTextCable, k.text, k.font, ui::colors::kYellow);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Cable,
    ::testing::Values(CableCase{2, "DTE not support", kTeal}, CableCase{4, "DTE not support", kTeal},
                      CableCase{5, "DTE not support", kTeal}, CableCase{12, "DTE not support", kTeal},
                      CableCase{13, "DTE not support", kTeal}, CableCase{14, "DTE not support", kTeal},
                      CableCase{18, "DCE RS-232/V.24", kNormal}, CableCase{20, "DCE RS-449/530", kNormal},
                      CableCase{28, "DCE RS-449/530", kNormal}, CableCase{21, "DCE RS-485", kNormal},
                      CableCase{30, "DCE V.35", kNormal}, CableCase{31, "No Cable", kGreen},
                      CableCase{0, "Cable error", kRed}, CableCase{3, "Cable error", kRed},
                      CableCase{19, "Cable error", kRed}, CableCase{29, "Cable error", kRed}));

// ---- interface

struct InterfaceCase {
  const char* name;
  std::int32_t level;
  std::vector<std::pair<int, std::uint8_t>> bytes;
  int code;
  const char* text;
  const char* speed;  // nullptr: the speed field is not touched
};
class Interface : public ::testing::TestWithParam<InterfaceCase> {};

TEST_P(Interface, CodeTextColoursAndSpeed) {
  const InterfaceCase& k = GetParam();
  MainWindowControls c;
  c.StaticTextSpeed.SetText("before");
  Block page;
  for (auto [i, v] : k.bytes) page[i] = v;
  EXPECT_EQ(DecodeState(page.bytes, k.level, 0, true, 3, c), k.code);
  const bool unknown = k.code == 0;
  ExpectField(c.StaticTextInterface, k.text, unknown ? kWhite : kNormal, unknown ? kRed : kFace);
  EXPECT_EQ(c.StaticTextSpeed.Text(), QString(k.speed ? k.speed : "before"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Interface,
    ::testing::Values(
        InterfaceCase{"Gen1Sync", kFirstGen, {{9, 0x00}}, 1, "P2 Sync", nullptr},
        InterfaceCase{"Gen1Ethernet", kFirstGen, {{9, 0x20}}, 2, "Eth QLD-ENX", "10 Mbit/s"},
        InterfaceCase{"Gen1Async", kFirstGen, {{9, 0x40}}, 4, "P2 Async", nullptr},
        InterfaceCase{"Gen1Kind7", kFirstGen, {{9, 0xFF}}, 0, "Unknown", nullptr},
        InterfaceCase{"ASync", kSecondGen, {{6, Slot(kP2)}}, 1, "P2 Sync", nullptr},
        InterfaceCase{"AAsync", kSecondGen, {{6, Slot(kP2)}, {9, 0x80}}, 4, "P2 Async", nullptr},
        InterfaceCase{"BAsync", kSecondGen, {{10, Slot(kP2)}, {13, 0x80}}, 4, "P2 Async", nullptr},
        InterfaceCase{"BSyncIgnoresSlotARateByte", kSecondGen, {{9, 0x80}, {10, Slot(kP2)}}, 1, "P2 Sync", nullptr},
        InterfaceCase{"AEthernet10", kSecondGen, {{6, Slot(kEth10)}, {7, 0x40}}, 2, "Eth QLD-ENX", "10 Mbit/s"},
        InterfaceCase{"AEthernet100At10", kSecondGen, {{6, Slot(kEth100)}}, 3, "Eth QLD-ENX100", "10 Mbit/s"},
        InterfaceCase{"AEthernet100At100", kSecondGen, {{6, Slot(kEth100)}, {7, 0x40}}, 3, "Eth QLD-ENX100",
                      "100 Mbit/s"},
        // The 100 Mbit/s bit is read from byte 7 whichever slot holds the module.
        InterfaceCase{"BEthernet100ReadsByte7", kSecondGen, {{7, 0x40}, {10, Slot(kEth100)}}, 3, "Eth QLD-ENX100",
                      "100 Mbit/s"},
        InterfaceCase{"BEthernet100IgnoresByte11", kSecondGen, {{10, Slot(kEth100)}, {11, 0x40}}, 3,
                      "Eth QLD-ENX100", "10 Mbit/s"},
        InterfaceCase{"AE1Alone", kSecondGen, {{6, Slot(kE1)}}, 5, "E1", nullptr},
        InterfaceCase{"AE1WithBAtLevel11", 11, {{6, Slot(kE1)}, {10, Slot(kP2)}}, 6, "E1 + KSI", nullptr},
        InterfaceCase{"AE1WithBAtLevel10", 10, {{6, Slot(kE1)}, {10, Slot(kP2)}}, 5, "E1", nullptr},
        InterfaceCase{"AE1WithInvalidB", kSecondGen, {{6, Slot(kE1)}, {10, 0xEF}}, 5, "E1", nullptr},
        InterfaceCase{"BE1NeverWithPort2", 17, {{6, 0x20}, {10, Slot(kE1)}}, 5, "E1", nullptr},
        InterfaceCase{"AWinsOverB", kSecondGen, {{6, Slot(kP2)}, {10, Slot(kEth10)}}, 1, "P2 Sync", nullptr},
        InterfaceCase{"AKindWithoutValidBit", kSecondGen, {{6, 0x40}, {10, Slot(kP2)}}, 1, "P2 Sync", nullptr},
        InterfaceCase{"AKind0", kSecondGen, {{6, Slot(0)}}, 0, "Unknown", nullptr},
        InterfaceCase{"BKind7", kSecondGen, {{10, Slot(7)}}, 0, "Unknown", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- slot choice

class StateDecode : public ::testing::Test {
 protected:
  int Decode(Block& page, std::int32_t level, std::int32_t variant = 0, int previous = 0, bool local = true) {
    return DecodeState(page.bytes, level, variant, local, previous, c);
  }
  MainWindowControls c;
};

TEST_F(StateDecode, NeitherSlotValidKeepsInterfaceSpeedCablePortRateAndIndicators) {
  Block first{{6, Slot(kEth100)}, {7, 0x45}, {9, 0x0F}};
  ASSERT_EQ(Decode(first, kSecondGen), 3);
  c.StaticTextBitRatePx.SetText(" 128000");
  Block invalid{{4, 0x10}, {5, 0x03}, {6, 0xEF}, {7, 0x1E}, {9, 0x8F}, {10, 0xEF}, {11, 0x0F}, {13, 0x0F}};
  EXPECT_EQ(Decode(invalid, kSecondGen, 0, 3), 3);
  ExpectField(c.StaticTextInterface, "Eth QLD-ENX100", kNormal, kFace);
  EXPECT_EQ(c.StaticTextSpeed.Text(), QString("100 Mbit/s"));
  EXPECT_EQ(c.StaticTextCable.Text(), QString("DTE not support"));  // code 5 from the first page
  EXPECT_EQ(c.StaticTextBitRatePx.Text(), QString(" 128000"));
  EXPECT_EQ(c.ShapeELNK.BrushColor(), kGreen);
  EXPECT_EQ(c.ShapeELRX.BrushColor(), kLime);
  EXPECT_EQ(c.ShapeELTX.BrushColor(), kGreen);
  EXPECT_TRUE(c.GroupBoxEthernet.Visible());
  // The rest of the page is still decoded.
  ExpectField(c.StaticTextQual, "D", kMaroon, kFace);
  EXPECT_EQ(c.StaticTextState.Text(), QString("Freq shift too high"));
}

TEST_F(StateDecode, E1WithPort2TakesCableFromSlotBAndPortRateFromSlotA) {
  Block page{{6, Slot(kE1)}, {7, 0x12}, {9, 0x02}, {10, Slot(kP2)}, {11, 30}, {13, 0x05}};
  ASSERT_EQ(Decode(page, kSecondGen), 6);
  EXPECT_EQ(c.StaticTextCable.Text(), QString("DCE V.35"));
  EXPECT_EQ(c.StaticTextBitRatePx.Text(), QString(" 192000"));
}

TEST_F(StateDecode, PlainE1TakesCableFromItsSlotAndLeavesThePortRate) {
  c.StaticTextBitRatePx.SetText(" 57600");
  Block page{{10, Slot(kE1)}, {11, 18}, {13, 0x05}};
  ASSERT_EQ(Decode(page, kSecondGen), 5);
  EXPECT_EQ(c.StaticTextCable.Text(), QString("DCE RS-232/V.24"));
  EXPECT_EQ(c.StaticTextBitRatePx.Text(), QString(" 57600"));
}

TEST_F(StateDecode, FirstGenerationEthernetLeavesThePortRate) {
  c.StaticTextBitRatePx.SetText(" 57600");
  Block page = FirstGenPage(1, 21, 0xC8);
  ASSERT_EQ(Decode(page, kFirstGen), 2);
  EXPECT_EQ(c.StaticTextBitRatePx.Text(), QString(" 57600"));
  EXPECT_EQ(c.StaticTextCable.Text(), QString("DCE RS-485"));
  EXPECT_EQ(c.StaticTextBitRateLine.Text(), QString(" 128000"));
}

TEST_F(StateDecode, PortRateComesFromTheChosenSlot) {
  Block page{{9, 0x03}, {10, Slot(kP2)}, {13, 0x01}};
  ASSERT_EQ(Decode(page, kSecondGen, 7), 1);
  EXPECT_EQ(c.StaticTextBitRatePx.Text(), QString(" 32000"));
}

// ---- state text

TEST_F(StateDecode, NoLineShowsErrorEvenWithAnActivity) {
  Block page{{5, 0x05}, {6, Slot(kP2)}, {22, 0x50}, {23, 0x40}};
  Decode(page, kSecondGen);
  ExpectField(c.StaticTextQual, "No Line", kRed, kFace);
  EXPECT_EQ(c.StaticTextState.Text(), QString("Error"));
  EXPECT_EQ(c.StaticTextState.FontColor(), kRed);
}

TEST_F(StateDecode, ActivityIsShownInGreen) {
  Block second{{6, Slot(kP2)}, {22, 0x50}, {23, 0x40}};
  Decode(second, kSecondGen);
  EXPECT_EQ(c.StaticTextState.Text(), QString("Test RDL-ES (master) from local modem"));
  EXPECT_EQ(c.StaticTextState.FontColor(), kGreen);

  Block first{{10, 0x28}};
  Decode(first, kFirstGen, 0, 0, false);
  EXPECT_EQ(c.StaticTextState.Text(), QString("Setup activated from local modem"));
  EXPECT_EQ(c.StaticTextState.FontColor(), kGreen);
}

TEST_F(StateDecode, TheInversionStaysInTheBlock) {
  Block second{{22, 0x50}, {23, 0x40}, {24, 0x07}};
  Decode(second, kSecondGen, 0, 0, true);
  EXPECT_EQ(second[22], 0x50);
  EXPECT_EQ(second[24], 0x47);

  Block first{{10, 0x50}, {12, 0x07}};
  Decode(first, kFirstGen, 0, 0, false);
  EXPECT_EQ(first[10], 0x10);
  EXPECT_EQ(first[12], 0x07);
}

struct ConditionCase {
  std::uint8_t byte4;
  const char* text;
  ui::Color font;
};
class LineCondition : public ::testing::TestWithParam<ConditionCase> {};

// With no activity (none of bits 3-5 in the record) the dump is not shown:
// the line condition is.
TEST_P(LineCondition, ShownWhenNobodyHoldsTheModem) {
  const ConditionCase& k = GetParam();
  {
    MainWindowControls c;
    Block page{{4, k.byte4}, {6, Slot(kP2)}, {22, 0xC7}, {23, 0xFF}};
    DecodeState(page.bytes, kSecondGen, 0, true, 0, c);
    EXPECT_EQ(c.StaticTextState.Text(), QString(k.text));
    EXPECT_EQ(c.StaticTextState.FontColor(), k.font);
  }
  {
    MainWindowControls c;
    Block page{{4, k.byte4}, {10, 0x47}};
    DecodeState(page.bytes, kFirstGen, 0, false, 0, c);
    EXPECT_EQ(c.StaticTextState.Text(), QString(k.text));
    EXPECT_EQ(c.StaticTextState.FontColor(), k.font);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, LineCondition,
                         ::testing::Values(ConditionCase{0xE3, "Normal", kNormal},
                                           ConditionCase{0x1C, "Freq shift too high", kRed},
                                           ConditionCase{0x0C, "Input level too low", kRed},
                                           ConditionCase{0x04, "Input level too high", kRed}));

TEST_F(StateDecode, TruncatedPageDecodesWithoutReadingPastIt) {
  std::array<std::uint8_t, 7> shortPage{25, 0, 0, 0, 0x10, 0x02, Slot(kP2)};
  EXPECT_EQ(DecodeState(shortPage, kSecondGen, 0, true, 0, c), 1);
  EXPECT_EQ(c.StaticTextCable.Text(), QString("Cable error"));
  EXPECT_EQ(c.StaticTextQual.Text(), QString("C"));
  EXPECT_EQ(c.StaticTextState.Text(), QString("Freq shift too high"));
}

}  // namespace
}  // namespace rkvt
