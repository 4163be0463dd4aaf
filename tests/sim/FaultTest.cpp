#include "SimHarness.h"

namespace rkvt::sim::test {
namespace {

Frame Write(std::uint16_t offset) {
  std::vector<std::uint8_t> data{static_cast<std::uint8_t>(offset >> 8), static_cast<std::uint8_t>(offset)};
  data.resize(26, 0x33);
  return Request(1, 43, data);
}

class Faults : public ModemOnLine {};

TEST_F(Faults, NonZeroStatusHitsOnlyTheChosenFrameNumber) {
  modem.AddFault({.fault = Fault::NonZeroStatus, .code = 43, .frameNumber = 3});
  for (int n = 1; n <= 4; ++n) {
    line.Send(Write(static_cast<std::uint16_t>(24 * n)), Framing::Working);
    for (int reply = 1; reply <= 2; ++reply) {
      const auto f = line.ReadFrame(Framing::Working);
      ASSERT_TRUE(f);
      EXPECT_EQ((*f)[3], n == 3 ? 1 : 0) << "frame " << n << " reply " << reply;
      EXPECT_TRUE(ChecksumMatches(*f)) << "a refusal, not a garbled frame";
    }
  }
  // The modem wrote all four: only the confirmation was refused.
  modem.Examine([](const ModemModel& m) { EXPECT_EQ(m.Flash().Writes(), 4); });
}

TEST_F(Faults, ReplyNumberPicksOneOfTheTwoFlashReplies) {
  modem.AddFault({.fault = Fault::NoReply, .replyNumber = 2});
  line.Send(Write(0), Framing::Working);
  EXPECT_TRUE(line.ReadFrame(Framing::Working));
  EXPECT_TRUE(line.Quiet(100ms));
}

TEST_F(Faults, TimesLimitsHowManyRepliesAreHit) {
  modem.AddFault({.fault = Fault::BadChecksum, .reply = ReplyKind::Acknowledgement, .times = 2});
  for (int n = 1; n <= 3; ++n) {
    const Exchange e = Ask(Request(2, 17), 20ms);
    ASSERT_TRUE(e.ack);
    EXPECT_EQ(ChecksumMatches(*e.ack), n == 3) << "request " << n;
  }
}

TEST_F(Faults, WrongRepeatAltersTheRepeatedPageCodeAndKeepsTheChecksum) {
  modem.AddFault({.fault = Fault::WrongRepeat, .code = 19, .reply = ReplyKind::Answer});
  const Frame a = AnswerTo(Request(2, 19, {0, 9}));
  EXPECT_EQ(a[2], 0x29);
  EXPECT_NE(a[4], 9);
  EXPECT_TRUE(ChecksumMatches(a));
  // Only code 19 was chosen.
  EXPECT_EQ(AnswerTo(Request(2, 3, {0, 7}))[4], 7);
}

TEST_F(Faults, WrongResponseAndWrongAddressKeepTheRestOfTheAnswer) {
  modem.AddFault({.fault = Fault::WrongResponse, .code = 22, .reply = ReplyKind::Answer, .times = 1});
  modem.AddFault({.fault = Fault::WrongAddress, .code = 22, .reply = ReplyKind::Answer, .times = 1});
  const Frame first = AnswerTo(Request(2, 22, {0, 1}));
  const Frame second = AnswerTo(Request(2, 22, {0, 1}));
  const Frame clean = AnswerTo(Request(2, 22, {0, 1}));
  EXPECT_EQ(first[2], 0x25);
  EXPECT_EQ(second[1], 0x72 ^ 0x30);
  EXPECT_EQ(clean[2], 0x24);
  EXPECT_EQ(clean[1], 0x72);
  EXPECT_TRUE(std::equal(clean.begin() + 3, clean.begin() + 29, first.begin() + 3));
  EXPECT_TRUE(std::equal(clean.begin() + 3, clean.begin() + 29, second.begin() + 3));
}

TEST_F(Faults, LateAnswerComesAfterItsDelay) {
  modem.AddFault({.fault = Fault::Late, .reply = ReplyKind::Answer, .delayMs = 150});
  line.Send(Request(1, 3), Framing::Working);
  ASSERT_TRUE(line.ReadFrame(Framing::Working));
  EXPECT_FALSE(line.ReadFrame(Framing::Working, 100ms)) << "not before its delay";
  EXPECT_TRUE(line.ReadFrame(Framing::Working, 500ms));
}

TEST_F(Faults, JournalNumbersFramesFromOneAndRestartsAfterClearing) {
  Ask(Request(2, 17), 10ms);
  Ask(Request(2, 16), 10ms);
  auto journal = modem.Journal();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0].number, 1);
  EXPECT_EQ(journal[1].number, 2);
  EXPECT_EQ(journal[1].frame, Request(2, 16));
  modem.ClearJournal();
  modem.AddFault({.fault = Fault::NoReply, .frameNumber = 1});
  EXPECT_FALSE(Ask(Request(2, 17), 10ms).ack) << "numbering starts again at 1";
}

struct RefusalCase {
  const char* name;
  std::function<void(ModemPeer&)> set;
  Frame request;
  std::uint8_t response;
  std::uint8_t recordByte4;
};

class Refusals : public ModemOnLine, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusals, AreModelSettingsWithTheHoldersRecord) {
  modem.Configure([&](ModemModel& m) { GetParam().set(m.Local()); });
  const Frame a = AnswerTo(GetParam().request);
  EXPECT_EQ(a[2], GetParam().response);
  EXPECT_EQ(RecordByte(a, 4), GetParam().recordByte4);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Refusals,
    ::testing::Values(
        RefusalCase{"SetupHeld",
                    [](ModemPeer& p) {
                      p.config.setupHeld = true;
                      p.config.holder = SetupActivity(Actor::LocalTerminal);
                    },
                    Request(2, 1), 0x27, 0xE0},
        RefusalCase{"LoopOff", [](ModemPeer& p) { p.loops.connectReply = ConnectReply::Off; },
                    Request(2, 2, {0, 7}), 0x32, 0x00},
        RefusalCase{"LoopBusy",
                    [](ModemPeer& p) {
                      p.loops.connectReply = ConnectReply::Busy;
                      p.loops.busyRecord = AccessDeniedActivity(Actor::RemoteTerminal);
                    },
                    Request(2, 2, {0, 7}), 0x33, 0x88}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rkvt::sim::test
