// The statistics page: the State group, interface and rates, then the
// Statistics group.

#include <limits>
#include <vector>

#include "mainwin/CounterTexts.h"
#include "mainwin/Decode.h"
#include "DecodeTestSupport.h"

namespace rkvt {
namespace {

using namespace test;

TEST(StateDecode, QualityClassTextAndColoursInBothGenerations) {
  const struct { const char* text; ui::Color font, background; } classes[] = {
      {"A", kNormal, kFace}, {"B", kTeal, kFace},     {"C", kPurple, kFace},     {"D", kMaroon, kFace},
      {"E", kOlive, kFace},  {"No Line", kRed, kFace}, {"Unknown", kWhite, kRed}, {"Unknown", kWhite, kRed}};
  for (std::uint8_t cls = 0; cls < 8; ++cls) {
    for (std::int32_t level : {kFirstGen, kSecondGen}) {
      MainWindowControls c;
      c.StaticTextQual.SetBackground(ui::colors::kYellow);  // must be overwritten
      Block page{{5, static_cast<std::uint8_t>(0xF8 | cls)}};
      DecodeState(page.bytes, level, 0, true, 0, c);
      ExpectField(c.StaticTextQual, classes[cls].text, classes[cls].font, classes[cls].background);
    }
  }
}

// Rates are shown normally, " Unknown" white on red. A synchronous port runs at the line rate.
TEST(StateDecode, LineAndPortRates) {
  const auto expect = [](Block page, std::int32_t level, std::int32_t variant, int code, const char* rate, bool line) {
    SCOPED_TRACE(testing::Message() << "level " << level << " variant " << variant << " byte 5 " << +page[5]);
    MainWindowControls c;
    c.StaticTextBitRateLine.SetFontColor(kWhite);
    EXPECT_EQ(DecodeState(page.bytes, level, variant, true, 0, c), code);
    const bool unknown = QString(rate) == " Unknown";
    std::vector<const ui::StaticText*> fields{&c.StaticTextBitRatePx};
    if (line) fields.push_back(&c.StaticTextBitRateLine);
    for (const ui::StaticText* f : fields) ExpectField(*f, rate, unknown ? kWhite : kNormal, unknown ? kRed : kFace);
  };
  const auto u8 = [](int v) { return static_cast<std::uint8_t>(v); };
  const char* first[] = {" 64000", " 128000", " 192000", " 256000", " 320000", " Unknown", " Unknown", " Unknown"};
  for (int n = 0; n < 8; ++n) expect(FirstGenPage(0, 31, u8(n << 3 | 0xC0)), kFirstGen, 0, 1, first[n], true);
  const char* async[] = {" 57600", " 115200", " 230400", " Unknown"};
  for (int n = 0; n < 4; ++n) {
    expect(FirstGenPage(2, 31, u8(n << 6)), kFirstGen, 0, 4, async[n], false);
    expect(Block{{10, Slot(kP2)}, {13, u8(0x80 | n << 4 | 0x0F)}}, kSecondGen, 0, 4, async[n], false);
  }
  // Second generation by channel variant: the line rate index in byte 5 bits
  // 3-6, the port rate index in the slot's rate byte bits 0-3.
  const struct { std::int32_t variant; int n; const char* text; } cases[] = {
      {0, 0, " 64000"},  {0, 15, " 1024000"}, {3, 2, " 192000"}, {1, 4, " 320000"}, {7, 0, " 16000"},
      {7, 1, " 32000"},  {7, 15, " 256000"},  {8, 0, " 9600"},   {8, 1, " 14400"},  {8, 2, " 16800"},
      {8, 3, " 19200"},  {8, 4, " 24000"},    {8, 5, " 5600"},   {8, 6, " 24000"},  {8, 7, " 24000"},
      {8, 13, " 5600"},  {9, 0, " 24000"},    {9, 1, " 28800"},  {9, 2, " 33600"},  {9, 3, " 38400"},
      {9, 4, " 50400"},  {9, 5, " 12000"},    {9, 6, " 24000"},  {9, 7, " 24000"},  {9, 12, " 50400"}};
  for (const auto& r : cases) {
    expect(Block{{5, u8(0x87 | r.n << 3)}, {6, Slot(kP2)}, {9, u8(0x70 | r.n)}}, kSecondGen, r.variant, 1, r.text,
           true);
  }
}

TEST(StateDecode, CableTextAndColourKeepTheBackground) {
  constexpr const char *kDte = "DTE not support", *kError = "Cable error";
  const struct { int code; const char* text; ui::Color font; } cables[] = {
      {2, kDte, kTeal},   {4, kDte, kTeal},   {5, kDte, kTeal},  {12, kDte, kTeal},  {13, kDte, kTeal},
      {14, kDte, kTeal},  {18, "DCE RS-232/V.24", kNormal},      {20, "DCE RS-449/530", kNormal},
      {28, "DCE RS-449/530", kNormal},        {21, "DCE RS-485", kNormal},           {30, "DCE V.35", kNormal},
      {31, "No Cable", kGreen}, {0, kError, kRed}, {3, kError, kRed}, {19, kError, kRed}, {29, kError, kRed}};
  for (const auto& k : cables) {
    MainWindowControls c;
    c.StaticTextCable.SetBackground(ui::colors::kYellow);
    Block slotA{{6, Slot(kP2)}, {7, static_cast<std::uint8_t>(0xE0 | k.code)}};  // bits 5-7 are not cable
    DecodeState(slotA.bytes, kSecondGen, 0, true, 0, c);
    ExpectField(c.StaticTextCable, k.text, k.font, ui::colors::kYellow);
  }
}

// ---- interface code, its text and colours, and the speed field (nullptr: not touched)

TEST(StateDecode, InterfaceCodeTextColoursAndSpeed) {
  constexpr const char *kEnx = "Eth QLD-ENX", *kEnx100 = "Eth QLD-ENX100", *k10 = "10 Mbit/s", *k100 = "100 Mbit/s";
  constexpr const char *kSync = "P2 Sync", *kAsync = "P2 Async", *kNone = nullptr;
  constexpr std::int32_t k1 = kFirstGen, k2 = kSecondGen;
  const struct { std::int32_t level; Block bytes; int code; const char *text, *speed; } cases[] = {
      {k1, {{9, 0x00}}, 1, kSync, kNone}, {k1, {{9, 0x20}}, 2, kEnx, k10}, {k1, {{9, 0x40}}, 4, kAsync, kNone},
      {k1, {{9, 0x60}}, 0, "Unknown", kNone}, {k1, {{9, 0xFF}}, 0, "Unknown", kNone},
      {k2, {{6, Slot(kP2)}}, 1, kSync, kNone},
      {k2, {{6, Slot(kP2)}, {9, 0x80}}, 4, kAsync, kNone}, {k2, {{10, Slot(kP2)}, {13, 0x80}}, 4, kAsync, kNone},
      {k2, {{9, 0x80}, {10, Slot(kP2)}}, 1, kSync, kNone},  // slot B: slot A's rate byte is no matter
      {k2, {{6, Slot(kEth10)}, {7, 0x40}}, 2, kEnx, k10}, {k2, {{6, Slot(kEth100)}}, 3, kEnx100, k10},
      {k2, {{6, Slot(kEth100)}, {7, 0x40}}, 3, kEnx100, k100},
      // The 100 Mbit/s bit is read from byte 7 whichever slot holds the module.
      {k2, {{7, 0x40}, {10, Slot(kEth100)}}, 3, kEnx100, k100},
      {k2, {{10, Slot(kEth100)}, {11, 0x40}}, 3, kEnx100, k10},
      // E1 + KSI needs port 2 in slot B and level 11; E1 in slot B never has it.
      {k2, {{6, Slot(kE1)}}, 5, "E1", kNone}, {11, {{6, Slot(kE1)}, {10, Slot(kP2)}}, 6, "E1 + KSI", kNone},
      {10, {{6, Slot(kE1)}, {10, Slot(kP2)}}, 5, "E1", kNone}, {k2, {{6, Slot(kE1)}, {10, 0xEF}}, 5, "E1", kNone},
      {17, {{6, 0x20}, {10, Slot(kE1)}}, 5, "E1", kNone},
      // Slot A wins when valid; kinds 0 and 5-7 are unknown.
      {k2, {{6, Slot(kP2)}, {10, Slot(kEth10)}}, 1, kSync, kNone}, {k2, {{6, 0x40}, {10, Slot(kP2)}}, 1, kSync, kNone},
      {k2, {{6, Slot(0)}}, 0, "Unknown", kNone}, {k2, {{10, Slot(7)}}, 0, "Unknown", kNone}};
  for (std::size_t n = 0; n < std::size(cases); ++n) {
    const auto& k = cases[n];
    SCOPED_TRACE(testing::Message() << "case " << n);
    MainWindowControls c;
    c.StaticTextSpeed.SetText("before");
    Block page = k.bytes;
    EXPECT_EQ(DecodeState(page.bytes, k.level, 0, true, 3, c), k.code);
    ExpectField(c.StaticTextInterface, k.text, k.code ? kNormal : kWhite, k.code ? kFace : kRed);
    EXPECT_EQ(c.StaticTextSpeed.Text(), QString(k.speed ? k.speed : "before"));
  }
}

// ---- which slot gives the cable and the port rate

TEST(StateDecode, CableAndPortRateComeFromTheRightSlot) {
  // The port rate " 57600" from before: left alone.
  const struct { std::int32_t level, variant; Block page; int code; const char *cable, *portRate; } cases[] = {
      // E1 + KSI: cable from the port 2 module in slot B, the rate from slot A.
      {kSecondGen, 0, {{6, Slot(kE1)}, {7, 0x12}, {9, 0x02}, {10, Slot(kP2)}, {11, 30}, {13, 0x05}}, 6, "DCE V.35",
       " 192000"},
      {kSecondGen, 0, {{10, Slot(kE1)}, {11, 18}, {13, 0x05}}, 5, "DCE RS-232/V.24", " 57600"},
      {kSecondGen, 7, {{9, 0x03}, {10, Slot(kP2)}, {13, 0x01}}, 1, "Cable error", " 32000"},
      {kFirstGen, 0, FirstGenPage(1, 21, 0xC8), 2, "DCE RS-485", " 57600"}};
  for (auto c : cases) {
    MainWindowControls controls;
    controls.StaticTextBitRatePx.SetText(" 57600");
    EXPECT_EQ(DecodeState(c.page.bytes, c.level, c.variant, true, 0, controls), c.code);
    EXPECT_EQ(QStringList({controls.StaticTextCable.Text(), controls.StaticTextBitRatePx.Text()}),
              QStringList({c.cable, c.portRate}));
  }
}

TEST(StateDecode, NeitherSlotValidKeepsInterfaceLayoutCablePortRateAndIndicators) {
  MainWindowControls c;
  Block first{{6, Slot(kEth100)}, {7, 0x45}, {9, 0x0F}};
  ASSERT_EQ(DecodeState(first.bytes, kSecondGen, 0, true, 0, c), 3);
  c.StaticTextBitRatePx.SetText(" 128000");
  HidePanels(c);
  Block invalid{{4, 0x10}, {5, 0x03}, {6, 0xEF}, {7, 0x1E}, {9, 0x8F}, {10, 0xEF}, {11, 0x0F}, {13, 0x0F}};
  EXPECT_EQ(DecodeState(invalid.bytes, kSecondGen, 0, true, 3, c), 3);
  ExpectField(c.StaticTextInterface, "Eth QLD-ENX100", kNormal, kFace);
  // Cable code 5 from the first page; quality and state from the new one.
  EXPECT_EQ(QStringList({c.StaticTextSpeed.Text(), c.StaticTextCable.Text(), c.StaticTextBitRatePx.Text(),
                         c.StaticTextQual.Text(), c.StaticTextState.Text()}),
            QStringList({"100 Mbit/s", "DTE not support", " 128000", "D", "Freq shift too high"}));
  EXPECT_EQ(Colours(c, kEthernetShapes), (std::vector{kGreen, kLime, kGreen, kLime}));  // LNK LRX LTX COLL
  EXPECT_FALSE(c.GroupBoxEthernet.Visible());
}

// ---- state text: line condition when nobody holds the modem, else the activity

TEST(StateDecode, StateTextAndColour) {
  constexpr std::pair<int, std::uint8_t> kP2A{6, Slot(kP2)}, kNobody0{22, 0xC7}, kNobody1{23, 0xFF};
  const struct { std::int32_t level; bool local; Block bytes; const char* text; ui::Color font; } cases[] = {
      {kSecondGen, true, {{4, 0xE3}, kP2A, kNobody0, kNobody1}, "Normal", kNormal},
      {kSecondGen, true, {{4, 0x1C}, kP2A, kNobody0, kNobody1}, "Freq shift too high", kRed},
      {kSecondGen, true, {{4, 0x0C}, kP2A, kNobody0, kNobody1}, "Input level too low", kRed},
      {kSecondGen, true, {{4, 0x04}, kP2A, kNobody0, kNobody1}, "Input level too high", kRed},
      {kFirstGen, false, {{4, 0xE3}, {10, 0x47}}, "Normal", kNormal},
      {kFirstGen, false, {{4, 0x0C}, {10, 0x47}}, "Input level too low", kRed},
      {kSecondGen, true, {kP2A, {22, 0x50}, {23, 0x40}}, "Test RDL-ES (master) from local modem", kGreen},
      {kFirstGen, false, {{10, 0x28}}, "Setup activated from local modem", kGreen},
      {kSecondGen, true, {{5, 0xFD}, kP2A, {22, 0x50}, {23, 0x40}}, "Error", kRed}};  // no line, even with an activity
  for (const auto& k : cases) {
    MainWindowControls c;
    Block page = k.bytes;
    DecodeState(page.bytes, k.level, 0, k.local, 0, c);
    EXPECT_EQ(std::pair(c.StaticTextState.Text(), c.StaticTextState.FontColor()), std::pair(QString(k.text), k.font));
    if (QString(k.text) == "Error") continue;  // no activity read
    Block turned = k.bytes;                    // the activity's local bit turned in the page itself
    turned[(k.level == kFirstGen ? 10 : 22) + (k.local ? 2 : 0)] ^= 0x40;
    EXPECT_EQ(page.bytes, turned.bytes) << k.text;
  }
}

TEST(StateDecode, TruncatedPageDecodesWithoutReadingPastIt) {
  MainWindowControls c;
  std::array<std::uint8_t, 7> shortPage{25, 0, 0, 0, 0x10, 0x02, Slot(kP2)};
  EXPECT_EQ(DecodeState(shortPage, kSecondGen, 0, true, 0, c), 1);
  EXPECT_EQ(QStringList({c.StaticTextCable.Text(), c.StaticTextQual.Text(), c.StaticTextState.Text()}),
            QStringList({"Cable error", "C", "Freq shift too high"}));
}

// ---- statistics times, parameters and test counters

constexpr std::int32_t kSecond = 42000;  // parts of a minute per second
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(StatisticsTime, MinutesAndPartsOfAMinute) {
  const struct { std::int32_t part, minutes; const char* text; } cases[] = {
      {0, 0, "0:00:00"}, {5 * kSecond, 1440 + 65, "1 d 1:05:05"}, {0, 1439, "23:59:00"}, {0, 1440, "1 d 0:00:00"},
      {kSecond - 1, 0, "0:00:00"}, {0, 400 * 1440, "400 d 0:00:00"},
      // The part is not limited to a minute; bad counters still give a text.
      {60 * kSecond, 0, "0:00:60"}, {125 * kSecond, 10, "0:10:125"}, {-kSecond, -1, "0:0-1:0-1"},
      {kMax, kMax, "1491308 d 2:07:51130"}};
  for (const auto& c : cases) EXPECT_EQ(StatisticsTimeText(c.part, c.minutes), QString(c.text)) << c.text;
  EXPECT_FALSE(StatisticsTimeText(kMin, kMin).isEmpty());
}

TEST(CounterTexts, TestTimesAndBitCounterWithTrailingBlank) {
  const auto t = TestTimeText, b = BitCounterText;
  const struct { QString (*text)(std::int32_t); std::int32_t n; const char* want; } cases[] = {
      {t, 0, "0:00:00 "}, {t, 59, "0:00:59 "}, {t, 3599, "0:59:59 "}, {t, 86399, "23:59:59 "},
      {t, 86400, "1 d 0:00:00 "}, {t, kMax, "24855 d 3:14:07 "}, {b, 0, "0 "}, {b, 999, "999 "}, {b, 1000, "1.000 "},
      {b, 123456, "123.456 "}, {b, 1000000000, "1.000.000.000 "}, {b, kMax, "2.147.483.647 "},
      // The minus sign takes a digit's place in the grouping.
      {b, -99, "-99 "}, {b, -123, "-.123 "}, {b, -1234, "-1.234 "}, {b, -123456, "-.123.456 "},
      {b, kMin, "-2.147.483.648 "}};
  for (const auto& c : cases) EXPECT_EQ(c.text(c.n), QString(c.want)) << c.n;
}

TEST(StatisticsDecode, TimesAndParametersFromTheirOwnBytes) {
  MainWindowControls c;
  Block block{{76, 0x00}, {77, 0x1F}, {78, 0xAB}, {79, 0xcd}, {80, 0xFF}, {81, 0xFF}, {82, 0x04}, {83, 0xD2}};
  for (auto [at, v] : {std::pair{32, 1 * kSecond}, {36, 1441}, {40, 2 * kSecond}, {44, 62}, {60, 3 * kSecond},
                       {64, 183}, {68, 4 * kSecond}, {72, 1440 * 2}})
    block.Put32(at, static_cast<std::uint32_t>(v));
  // Parameters: two hex words, then two unsigned decimals; faults show the first.
  EXPECT_EQ(DecodeStatistics(block.bytes, c), (std::array<QString, 4>{"0x001F", "0xABCD", "65535", "1234"}));
  EXPECT_EQ(QStringList({c.StaticTextFillTime.Text(), c.StaticTextCurrTime.Text(), c.StaticTextNoLineTime.Text(),
                         c.StaticTextErrorsTime.Text(), c.StaticTextFaults.Text()}),
            QStringList({"1 d 0:01:01", "1:02:02", "3:03:03", "2 d 0:00:04", "0x001F"}));
  const std::array<std::uint8_t, 40> shortBlock{};
  EXPECT_EQ(DecodeStatistics(shortBlock, c), (std::array<QString, 4>{"0x0000", "0x0000", "0", "0"}));
  EXPECT_EQ(c.StaticTextErrorsTime.Text(), QString("0:00:00"));
}

}  // namespace
}  // namespace rkvt
