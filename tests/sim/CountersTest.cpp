#include "SimHarness.h"

namespace rkvt::sim::test {
namespace {

// A modem whose time moves only when a test says so.
ModemModel StoppedClockModem(Identity identity = {.type = 6, .version = 0x31, .third = '5'}) {
  ModemModel model(identity);
  model.Clock() = ModemClock::Manual();
  return model;
}

Frame Page(ModemModel& model, std::uint8_t page) {
  const auto a = AnswerOf(model, Request(2, 3, {0, page}));
  EXPECT_TRUE(a);
  return a.value_or(Frame{});
}

Frame LoopPage(ModemModel& model, std::uint8_t page) {
  const auto a = AnswerOf(model, Request(2, 19, {0, page}));
  EXPECT_TRUE(a);
  return a.value_or(Frame{});
}

constexpr std::uint32_t kUnitsPerSecond = 42000;

TEST(LineCounters, FullAndCurrentTimeAreMinutesAndFortyTwoThousandthsOfASecond) {
  ModemModel model = StoppedClockModem();
  model.Clock().Advance(std::chrono::milliseconds(61'500));
  const Frame p2 = Page(model, 2);
  EXPECT_EQ(Big32(p2, 4), 1'500 * 42u) << "part of the minute";
  EXPECT_EQ(Big32(p2, 8), 1u) << "whole minutes";
  EXPECT_EQ(Big32(p2, 12), 1'500 * 42u);
  EXPECT_EQ(Big32(p2, 16), 1u);
  model.Clock().Advance(std::chrono::hours(25));
  EXPECT_EQ(Big32(Page(model, 2), 8), 1u + 25 * 60);
}

TEST(LineCounters, NoLineTimeRunsWhileTheLineIsDownAndCurrentTimeRestartsAfter) {
  ModemModel model = StoppedClockModem();
  model.Clock().Advance(std::chrono::seconds(10));
  model.Settle();
  model.Local().state.quality = 5;
  model.Clock().Advance(std::chrono::seconds(30));
  Frame p3 = Page(model, 3);
  EXPECT_EQ(Big32(p3, 4), 30 * kUnitsPerSecond);
  EXPECT_EQ(Big32(p3, 8), 0u);
  model.Local().state.quality = 1;
  model.Clock().Advance(std::chrono::seconds(4));
  const Frame p2 = Page(model, 2);
  EXPECT_EQ(Big32(p2, 4), 44 * kUnitsPerSecond) << "full time never stops";
  EXPECT_EQ(Big32(p2, 12), 4 * kUnitsPerSecond) << "current time counts from the line's return";
  p3 = Page(model, 3);
  EXPECT_EQ(Big32(p3, 4), 30 * kUnitsPerSecond) << "no-line time stops with the line up";
}

TEST(LineCounters, ErrorsTimeIsItsShareAndTheFaultWordsFollowAtByte20) {
  ModemModel model = StoppedClockModem();
  LineStatistics& stats = model.Local().stats;
  stats.errorsPerMille = 100;
  stats.Values().faults = 0x001F;
  stats.Values().param2 = 0xBEEF;
  stats.Values().param3 = 65535;
  stats.Values().param4 = 1;
  model.Clock().Advance(std::chrono::seconds(20));
  const Frame p3 = Page(model, 3);
  EXPECT_EQ(Big32(p3, 12), 2 * kUnitsPerSecond);
  const std::vector<std::uint8_t> words(p3.begin() + 21, p3.begin() + 29);
  EXPECT_EQ(words, (std::vector<std::uint8_t>{0x00, 0x1F, 0xBE, 0xEF, 0xFF, 0xFF, 0x00, 0x01}));
}

TEST(LineCounters, ResetStatisticsZeroesTheTimesButNotTheFaultWord) {
  ModemModel model = StoppedClockModem();
  model.Local().stats.errorsPerMille = 500;
  model.Local().stats.Values().faults = 7;
  model.Clock().Advance(std::chrono::minutes(3));
  ASSERT_NE(Big32(Page(model, 2), 8), 0u);
  const auto a = AnswerOf(model, Request(2, 4));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->at(2), 0x2A);
  const Frame p2 = Page(model, 2);
  const Frame p3 = Page(model, 3);
  for (std::size_t n : {4u, 8u, 12u, 16u}) {
    EXPECT_EQ(Big32(p2, n), 0u) << n;
    EXPECT_EQ(Big32(p3, n), 0u) << n;
  }
  EXPECT_EQ(RecordByte(p3, 21), 7);
  model.Clock().Advance(std::chrono::seconds(1));
  EXPECT_EQ(Big32(Page(model, 2), 4), kUnitsPerSecond) << "and counts on from zero";
}

TEST(LoopCounters, SecondsTestsCountReadyAndNotReadyAndTheirErrorShares) {
  ModemModel model = StoppedClockModem();
  LoopTests& loops = model.Local().loops;
  loops.erroredPerMille = 250;
  loops.severelyErroredPerMille = 100;
  AnswerOf(model, Request(2, 2, {0, test_code::kAlEs}));
  model.Clock().Advance(std::chrono::seconds(40));
  model.Settle();
  model.Local().state.quality = 5;
  model.Clock().Advance(std::chrono::seconds(7));
  const Frame p = LoopPage(model, 9);
  EXPECT_EQ(Big32(p, 8), 40u) << "ready seconds";
  EXPECT_EQ(Big32(p, 12), 7u) << "not-ready seconds";
  EXPECT_EQ(Big32(p, 16), 10u) << "errored seconds";
  EXPECT_EQ(Big32(p, 20), 4u) << "severely errored seconds";
  EXPECT_EQ(RecordByte(p, 5) & 7, 5) << "the line quality rides along";
}

TEST(LoopCounters, DlCountsBitsAndResetLoopStatisticsClearsThem) {
  ModemModel model = StoppedClockModem({.type = 1, .version = 0x21, .third = '5'});
  model.Local().loops.bitsPerSecond = 1000;
  AnswerOf(model, Request(2, 2, {0, test_code::kDl}));
  model.Clock().Advance(std::chrono::milliseconds(2'500));
  EXPECT_EQ(Big32(LoopPage(model, 4), 8), 2'500u);
  EXPECT_FALSE(AnswerOf(model, Request(2, 17))) << "acknowledgement only";
  EXPECT_EQ(Big32(LoopPage(model, 4), 8), 0u);
}

TEST(LoopCounters, NothingCountsWithoutAConnectedTestAndAConnectStartsFromZero) {
  ModemModel model = StoppedClockModem();
  model.Local().loops.bitsPerSecond = 10;
  model.Clock().Advance(std::chrono::seconds(5));
  EXPECT_EQ(Big32(LoopPage(model, 9), 8), 0u);
  AnswerOf(model, Request(2, 2, {0, test_code::kEs}));
  model.Clock().Advance(std::chrono::seconds(3));
  AnswerOf(model, Request(2, 18, {0, test_code::kEs}));
  model.Clock().Advance(std::chrono::seconds(3));
  EXPECT_EQ(Big32(LoopPage(model, 9), 8), 3u) << "stopped at the disconnect";
  AnswerOf(model, Request(2, 2, {0, test_code::kEs}));
  EXPECT_EQ(Big32(LoopPage(model, 9), 8), 0u);
}

struct ConnectCase {
  const char* name;
  ConnectReply setting;
  std::uint8_t testCode;
  std::uint8_t response;
  bool connected;
};

class ConnectReplies : public ::testing::TestWithParam<ConnectCase> {};

TEST_P(ConnectReplies, AnswerAndStateFollowTheSetting) {
  ModemModel model;
  model.Local().loops.connectReply = GetParam().setting;
  model.Local().loops.busyRecord = TestActivity(test_code::kLl, Actor::RemoteModem);
  const auto a = AnswerOf(model, Request(2, 2, {0, GetParam().testCode}));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->at(2), GetParam().response);
  EXPECT_EQ(RecordByte(*a, 3), GetParam().testCode);
  EXPECT_EQ(model.Local().loops.Connected().has_value(), GetParam().connected);
  if (GetParam().response == 0x33) {
    EXPECT_EQ(RecordByte(*a, 4), 0x10 | (10 >> 2)) << "test LL by a remote modem";
    EXPECT_EQ(RecordByte(*a, 5), (10 & 3) << 6);
  } else {
    EXPECT_EQ(RecordByte(*a, 4), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ConnectReplies,
    ::testing::Values(ConnectCase{"Connected", ConnectReply::Connected, test_code::kRdl, 0x31, true},
                      ConnectCase{"Off", ConnectReply::Off, test_code::kRdl, 0x32, false},
                      ConnectCase{"Busy", ConnectReply::Busy, test_code::kRdl, 0x33, false},
                      ConnectCase{"UnknownTestCode", ConnectReply::Connected, 3, 0x32, false},
                      ConnectCase{"SlaveCodeIsNoTest", ConnectReply::Connected, test_code::kSlave, 0x32, false}),
    [](const auto& info) { return std::string(info.param.name); });

class CountersOnLine : public ModemOnLine {
 protected:
  CountersOnLine() : ModemOnLine(StoppedClockModem()) {}
};

TEST_F(CountersOnLine, ConfigureCountsChangesFromThatMoment) {
  modem.Configure([](ModemModel& m) { m.Clock().Advance(std::chrono::seconds(90)); });
  Frame p2 = AnswerTo(Request(2, 3, {0, 2}));
  EXPECT_EQ(Big32(p2, 8), 1u);
  EXPECT_EQ(Big32(p2, 4), 30 * kUnitsPerSecond);
  // The line drops now: the 90 s before count as line time, not as no line.
  modem.Configure([](ModemModel& m) {
    m.Local().state.quality = 5;
    m.Clock().Advance(std::chrono::seconds(5));
  });
  const Frame p3 = AnswerTo(Request(2, 3, {0, 3}));
  EXPECT_EQ(Big32(p3, 4), 5 * kUnitsPerSecond);
  modem.Examine([](const ModemModel& m) { EXPECT_EQ(m.Local().stats.Values().fullMs, 95'000); });
}

TEST(RealTimeClock, CountersFollowTheSteadyClockUnlessFrozen) {
  ModemModel model;
  const auto before = model.Clock().Now();
  std::this_thread::sleep_for(20ms);
  EXPECT_GE((model.Clock().Now() - before).count(), 20);
  model.Clock().Freeze();
  const auto frozen = model.Clock().Now();
  std::this_thread::sleep_for(5ms);
  EXPECT_EQ(model.Clock().Now(), frozen);
  model.Clock().Advance(std::chrono::milliseconds(7));
  EXPECT_EQ((model.Clock().Now() - frozen).count(), 7);
}

}  // namespace
}  // namespace rkvt::sim::test
