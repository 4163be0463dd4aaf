#include "SimHarness.h"

namespace rkvt::sim::test {
namespace {

using Counts = std::vector<std::uint32_t>;

// A modem whose time moves only when a test says so.
ModemModel StoppedClockModem(Identity identity = {.type = 6, .version = 0x31, .third = '5'}) {
  ModemModel model(identity);
  model.Clock() = ModemClock::Manual();
  return model;
}

// `n` big-endian counters from record byte `from` of an answer.
Counts CountsIn(const Frame& answer, std::size_t n = 4, std::size_t from = 4) {
  Counts counts(n);
  for (std::size_t i = 0; i < 4 * n; ++i) counts[i / 4] = counts[i / 4] << 8 | RecordByte(answer, from + i);
  return counts;
}
// The same of statistics page `page` (code 3) or loop statistics page (code 19).
Counts Read(ModemModel& model, std::uint8_t page, std::size_t n = 4, std::size_t from = 4, std::uint8_t code = 3) {
  return CountsIn(AnswerOf(model, Request(2, code, {0, page})).value_or(Frame{}), n, from);
}

constexpr std::uint32_t kUnit = 42000;  // counter units a second

// Page 2: full time at 4 (part of the minute) and 8 (minutes), current time
// at 12 and 16. Page 3: no-line time at 4 and 8.
TEST(LineCounters, FullCurrentAndNoLineTimes) {
  ModemModel model = StoppedClockModem();
  model.Clock().Advance(61'500ms);
  EXPECT_EQ(Read(model, 2), (Counts{1'500 * 42, 1, 1'500 * 42, 1}));
  model.Settle();
  model.Local().state.quality = 5;  // the line drops
  model.Clock().Advance(30s);
  EXPECT_EQ(Read(model, 3, 2), (Counts{30 * kUnit, 0}));
  model.Local().state.quality = 1;
  model.Clock().Advance(4s);
  // Full time never stops; current time counts from the line's return.
  EXPECT_EQ(Read(model, 2), (Counts{35'500 * 42, 1, 4 * kUnit, 0}));
  EXPECT_EQ(Read(model, 3, 1), Counts{30 * kUnit}) << "no-line time stops with the line up";
  model.Clock().Advance(25h);
  EXPECT_EQ(Read(model, 2, 1, 8), Counts{1 + 25 * 60});
}

TEST(LineCounters, ErrorsTimeFaultWordsAndResetStatistics) {
  ModemModel model = StoppedClockModem();
  LineStatistics& stats = model.Local().stats;
  stats.errorsPerMille = 100;
  stats.Values() = {.faults = 0x001F, .param2 = 0xBEEF, .param3 = 65535, .param4 = 1};
  model.Clock().Advance(20s);
  EXPECT_EQ(Read(model, 3, 1, 12), Counts{2 * kUnit}) << "errors time, its share of the line time";
  EXPECT_EQ(Read(model, 3, 2, 20), (Counts{0x001FBEEF, 0xFFFF0001})) << "the four fault words";
  model.Clock().Advance(3min);
  EXPECT_EQ(AnswerOf(model, Request(2, 4)).value_or(Frame{})[2], 0x2A);
  EXPECT_EQ(Read(model, 2), Counts(4, 0));
  EXPECT_EQ(Read(model, 3, 5), (Counts{0, 0, 0, 0, 0x001FBEEF})) << "the fault words stay";
  model.Clock().Advance(1s);
  EXPECT_EQ(Read(model, 2, 1), Counts{kUnit}) << "and counts on from zero";
}

TEST(LoopCounters, SecondsTestsCountReadyAndNotReadyAndTheirErrorShares) {
  ModemModel model = StoppedClockModem();
  model.Local().loops.erroredPerMille = 250;
  model.Local().loops.severelyErroredPerMille = 100;
  AnswerOf(model, Request(2, 2, {0, test_code::kAlEs}));
  model.Clock().Advance(40s);
  model.Settle();
  model.Local().state.quality = 5;
  model.Clock().Advance(7s);
  // Ready, not ready, errored and severely errored seconds.
  const Frame page = AnswerOf(model, Request(2, 19, {0, 9})).value_or(Frame{});
  EXPECT_EQ(CountsIn(page, 4, 8), (Counts{40, 7, 10, 4}));
  EXPECT_EQ(RecordByte(page, 5) & 7, 5) << "the line quality rides along";
}

TEST(LoopCounters, OnlyAConnectedTestCountsAndEachConnectOrResetStartsFromZero) {
  ModemModel model = StoppedClockModem();
  model.Local().loops.bitsPerSecond = 10;
  model.Clock().Advance(5s);
  EXPECT_EQ(Read(model, 9, 1, 8, 19), Counts{0});
  AnswerOf(model, Request(2, 2, {0, test_code::kEs}));
  model.Clock().Advance(3s);
  AnswerOf(model, Request(2, 18, {0, test_code::kEs}));
  model.Clock().Advance(3s);
  EXPECT_EQ(Read(model, 9, 1, 8, 19), Counts{3}) << "stopped at the disconnect";
  AnswerOf(model, Request(2, 2, {0, test_code::kEs}));
  EXPECT_EQ(Read(model, 9, 1, 8, 19), Counts{0});

  ModemModel dl = StoppedClockModem({.type = 1, .version = 0x21, .third = '5'});
  dl.Local().loops.bitsPerSecond = 1000;
  AnswerOf(dl, Request(2, 2, {0, test_code::kDl}));
  dl.Clock().Advance(2'500ms);
  EXPECT_EQ(Read(dl, 4, 1, 8, 19), Counts{2'500}) << "DL counts bits";
  EXPECT_FALSE(AnswerOf(dl, Request(2, 17))) << "acknowledgement only";
  EXPECT_EQ(Read(dl, 4, 1, 8, 19), Counts{0});
}

TEST(ConnectReplies, AnswerAndStateFollowTheSetting) {
  // Setting, test code; then the response and record bytes 4 and 5: for busy,
  // test LL (10) by a remote modem. The slave code is no test.
  const std::tuple<ConnectReply, std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t> cases[] = {
      {ConnectReply::Connected, test_code::kRdl, 0x31, 0, 0}, {ConnectReply::Off, test_code::kRdl, 0x32, 0, 0},
      {ConnectReply::Busy, test_code::kRdl, 0x33, 0x10 | (10 >> 2), (10 & 3) << 6},
      {ConnectReply::Connected, 3, 0x32, 0, 0},               {ConnectReply::Connected, test_code::kSlave, 0x32, 0, 0},
  };
  for (const auto& [setting, testCode, response, record4, record5] : cases) {
    ModemModel model;
    model.Local().loops.connectReply = setting;
    model.Local().loops.busyRecord = TestActivity(test_code::kLl, Actor::RemoteModem);
    const Frame a = AnswerOf(model, Request(2, 2, {0, testCode})).value_or(Frame{});
    EXPECT_EQ(Bytes(a.begin() + 2, a.begin() + 7), (Bytes{response, 0, testCode, record4, record5}));
    EXPECT_EQ(model.Local().loops.Connected().has_value(), response == 0x31) << int(testCode);
  }
}

TEST(LoopReads, SilentAfterNReadsOnlyAcknowledgesTheFarEndOfAnRdlEsReportsItselfSlave) {
  ModemModel model = StoppedClockModem();
  model.RemoteIdentity() = model.LocalIdentity();
  model.Local().loops.readsBeforeSilence = 1;
  AnswerOf(model, Request(2, 2, {0, test_code::kRdlEs}));
  EXPECT_TRUE(AnswerOf(model, Request(2, 19, {0, 9})));
  EXPECT_EQ(model.Handle(Request(2, 19, {0, 9})).size(), 1u) << "the acknowledgement alone";
  // Remote state page, record bytes 22-25: slave (test code 9) of test 1 mastered by the local modem.
  const Bytes far = StatePage(model, false);
  EXPECT_EQ(Bytes(far.begin() + 22, far.begin() + 26), (Bytes{0x12, 0x40, 0x50, 0x40}));
  AnswerOf(model, Request(2, 18, {0, test_code::kRdlEs}));
  EXPECT_EQ(StatePage(model, false)[22], 0) << "gone with the disconnect";
}

struct CountersOnLine : ModemOnLine {
  CountersOnLine() : ModemOnLine(StoppedClockModem()) {}
};

TEST_F(CountersOnLine, ConfigureCountsChangesFromThatMoment) {
  modem.Configure([](ModemModel& m) { m.Clock().Advance(90s); });
  EXPECT_EQ(CountsIn(AnswerTo(Request(2, 3, {0, 2})), 2), (Counts{30 * kUnit, 1}));
  // The line drops now: the 90 s before count as line time, not as no line.
  modem.Configure([](ModemModel& m) {
    m.Local().state.quality = 5;
    m.Clock().Advance(5s);
  });
  EXPECT_EQ(CountsIn(AnswerTo(Request(2, 3, {0, 3})), 1), Counts{5 * kUnit});
  modem.Examine([](const ModemModel& m) { EXPECT_EQ(m.Local().stats.Values().fullMs, 95'000); });
}

}  // namespace
}  // namespace rkvt::sim::test
