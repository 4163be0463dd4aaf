#include <gtest/gtest.h>

#include <limits>

#include "CounterTexts.h"
#include "Decode.h"
#include "DecodeTestSupport.h"

namespace rkvt {
namespace {

using test::Block;

constexpr std::int32_t kSecond = 42000;  // parts of a minute per second

// ---- line statistics times

struct StatTimeCase {
  std::int32_t part;
  std::int32_t minutes;
  const char* text;
};
class StatisticsTime : public ::testing::TestWithParam<StatTimeCase> {};

TEST_P(StatisticsTime, Text) {
  EXPECT_EQ(StatisticsTimeText(GetParam().part, GetParam().minutes), QString(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, StatisticsTime,
    ::testing::Values(StatTimeCase{0, 0, "0:00:00"}, StatTimeCase{5 * kSecond, 1440 + 65, "1 d 1:05:05"},
                      StatTimeCase{0, 59, "0:59:00"}, StatTimeCase{0, 1439, "23:59:00"},
                      StatTimeCase{0, 1440, "1 d 0:00:00"}, StatTimeCase{kSecond - 1, 0, "0:00:00"},
                      StatTimeCase{60 * kSecond - 1, 0, "0:00:59"},
                      // The part is not limited to a minute.
                      StatTimeCase{60 * kSecond, 0, "0:00:60"}, StatTimeCase{125 * kSecond, 10, "0:10:125"},
                      StatTimeCase{10 * kSecond, 600, "10:00:10"}, StatTimeCase{0, 3 * 1440 + 61, "3 d 1:01:00"},
                      StatTimeCase{0, 400 * 1440, "400 d 0:00:00"}));

TEST(StatisticsTime, NegativeOrExtremeCountersStillGiveAText) {
  EXPECT_EQ(StatisticsTimeText(-kSecond, -1), QString("0:0-1:0-1"));
  EXPECT_EQ(StatisticsTimeText(std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max()),
            QString("1491308 d 2:07:51130"));
  EXPECT_FALSE(StatisticsTimeText(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min())
                   .isEmpty());
}

TEST(StatisticsDecode, EachTimeFromItsOwnBytes) {
  MainWindowControls c;
  Block block;
  block.Put32(32, 1 * kSecond);
  block.Put32(36, 1441);
  block.Put32(40, 2 * kSecond);
  block.Put32(44, 62);
  block.Put32(60, 3 * kSecond);
  block.Put32(64, 183);
  block.Put32(68, 4 * kSecond);
  block.Put32(72, 1440 * 2);
  DecodeStatistics(block.bytes, c);
  EXPECT_EQ(c.StaticTextFillTime.Text(), QString("1 d 0:01:01"));
  EXPECT_EQ(c.StaticTextCurrTime.Text(), QString("1:02:02"));
  EXPECT_EQ(c.StaticTextNoLineTime.Text(), QString("3:03:03"));
  EXPECT_EQ(c.StaticTextErrorsTime.Text(), QString("2 d 0:00:04"));
}

TEST(StatisticsDecode, ParametersHexThenUnsignedDecimalAndFaultsShowsTheFirst) {
  MainWindowControls c;
  Block block;
  block.Put16(76, 0x001F);
  block.Put16(78, 0xABcd);
  block.Put16(80, 0xFFFF);
  block.Put16(82, 1234);
  const std::array<QString, 4> p = DecodeStatistics(block.bytes, c);
  EXPECT_EQ(p[0], QString("0x001F"));
  EXPECT_EQ(p[1], QString("0xABCD"));
  EXPECT_EQ(p[2], QString("65535"));
  EXPECT_EQ(p[3], QString("1234"));
  EXPECT_EQ(c.StaticTextFaults.Text(), QString("0x001F"));
}

TEST(StatisticsDecode, TruncatedBlockShowsZeros) {
  MainWindowControls c;
  const std::array<std::uint8_t, 40> shortBlock{};
  const std::array<QString, 4> p = DecodeStatistics(shortBlock, c);
  EXPECT_EQ(c.StaticTextErrorsTime.Text(), QString("0:00:00"));
  EXPECT_EQ(p[0], QString("0x0000"));
  EXPECT_EQ(p[3], QString("0"));
}

// ---- test counter times

struct TestTimeCase {
  std::int32_t seconds;
  const char* text;
};
class TestTime : public ::testing::TestWithParam<TestTimeCase> {};

TEST_P(TestTime, TextWithTrailingBlank) { EXPECT_EQ(TestTimeText(GetParam().seconds), QString(GetParam().text)); }

INSTANTIATE_TEST_SUITE_P(Table, TestTime,
                         ::testing::Values(TestTimeCase{0, "0:00:00 "}, TestTimeCase{9, "0:00:09 "},
                                           TestTimeCase{59, "0:00:59 "}, TestTimeCase{60, "0:01:00 "},
                                           TestTimeCase{3599, "0:59:59 "}, TestTimeCase{3600, "1:00:00 "},
                                           TestTimeCase{86399, "23:59:59 "}, TestTimeCase{86400, "1 d 0:00:00 "},
                                           TestTimeCase{86400 + 3661, "1 d 1:01:01 "},
                                           TestTimeCase{std::numeric_limits<std::int32_t>::max(),
                                                        "24855 d 3:14:07 "}));

// ---- bit counter

struct BitsCase {
  std::int32_t count;
  const char* text;
};
class BitCounter : public ::testing::TestWithParam<BitsCase> {};

TEST_P(BitCounter, GroupedWithDotsAndTrailingBlank) {
  EXPECT_EQ(BitCounterText(GetParam().count), QString(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, BitCounter,
    ::testing::Values(BitsCase{0, "0 "}, BitsCase{999, "999 "}, BitsCase{1000, "1.000 "},
                      BitsCase{123456, "123.456 "}, BitsCase{1234567, "1.234.567 "},
                      BitsCase{999999999, "999.999.999 "}, BitsCase{1000000000, "1.000.000.000 "},
                      BitsCase{std::numeric_limits<std::int32_t>::max(), "2.147.483.647 "},
                      // The minus sign takes a digit's place in the grouping.
                      BitsCase{-1, "-1 "}, BitsCase{-99, "-99 "}, BitsCase{-123, "-.123 "},
                      BitsCase{-1234, "-1.234 "}, BitsCase{-123456, "-.123.456 "},
                      BitsCase{-1234567, "-1.234.567 "},
                      BitsCase{std::numeric_limits<std::int32_t>::min(), "-2.147.483.648 "}));

// ---- test counters on a loop page

TEST(TestCounters, EsTestsFillTheFourTimes) {
  Block page;
  page.Put32(8, 86400 + 3661);
  page.Put32(12, 59);
  page.Put32(16, 3600);
  page.Put32(20, 0);
  for (int index : {0, 1, 2}) {
    MainWindowControls c;
    c.StaticTextBits.SetText("keep");
    DecodeTestCounters(page.bytes, index, c);
    EXPECT_EQ(c.StaticTextRdTime.Text(), QString("1 d 1:01:01 "));
    EXPECT_EQ(c.StaticTextNRdTime.Text(), QString("0:00:59 "));
    EXPECT_EQ(c.StaticTextESTime.Text(), QString("1:00:00 "));
    EXPECT_EQ(c.StaticTextSESTime.Text(), QString("0:00:00 "));
    EXPECT_EQ(c.StaticTextBits.Text(), QString("keep"));
  }
}

TEST(TestCounters, DlShowsTheSignedBitCounter) {
  MainWindowControls c;
  c.StaticTextRdTime.SetText("keep");
  Block page;
  page.Put32(8, 0xFFFFFC18);  // -1000
  DecodeTestCounters(page.bytes, 5, c);
  EXPECT_EQ(c.StaticTextBits.Text(), QString("-1.000 "));
  EXPECT_EQ(c.StaticTextRdTime.Text(), QString("keep"));
}

TEST(TestCounters, LoopsWithoutCountersTouchNothing) {
  Block page;
  page.Put32(8, 1234);
  for (int index : {3, 4, 6, 7, -1}) {
    MainWindowControls c;
    DecodeTestCounters(page.bytes, index, c);
    EXPECT_TRUE(c.StaticTextRdTime.Text().isEmpty()) << index;
    EXPECT_TRUE(c.StaticTextBits.Text().isEmpty()) << index;
  }
}

}  // namespace
}  // namespace rkvt
