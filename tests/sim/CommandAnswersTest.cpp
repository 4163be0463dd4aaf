#include "SimHarness.h"

namespace rkvt::sim::test {
namespace {

// One request and the answer the program waits for.
struct AnswerCase {
  const char* name;
  std::uint8_t subAddress;
  std::uint8_t code;
  std::vector<std::uint8_t> data;
  std::optional<std::uint8_t> response;  // none: acknowledgement only
  std::optional<std::uint8_t> repeat;    // frame byte 4 of the answer
};

const std::vector<AnswerCase> kAnswerCases{
    {"Identify", 1, 3, {}, 0x03, 0},
    {"Reset", 1, 2, {}, 0x02, 0},
    {"ResetSecondStep", 1, 4, {}, 0x04, 0},
    {"EnterSetup", 2, 1, {}, 0x21, std::nullopt},
    {"ExitSetup", 2, 24, {1, 2, 3, 4}, 0x26, std::nullopt},
    {"StatePage", 2, 3, {0, 7}, 0x29, 7},
    {"StatisticsPage2", 2, 3, {0, 2}, 0x29, 2},
    {"StatisticsPage3", 2, 3, {0, 3}, 0x29, 3},
    {"ResetStatistics", 2, 4, {}, 0x2A, std::nullopt},
    {"SetNewMode", 2, 20, std::vector<std::uint8_t>(26, 0x11), 0x22, std::nullopt},
    {"LoadProfile", 2, 22, {0, 3}, 0x24, std::nullopt},
    {"SaveProfile", 2, 21, {0, 2}, 0x23, 2},
    {"ConnectLoop", 2, 2, {0, 1}, 0x31, 1},
    {"DisconnectLoop", 2, 18, {0, 1}, 0x32, 1},
    {"LoopStatistics", 2, 19, {0, 9}, 0x29, 9},
    {"ResetLoopStatistics", 2, 17, {}, std::nullopt, std::nullopt},
    {"UnknownCode", 2, 16, {}, std::nullopt, std::nullopt},
    // The page-1 code of the other layout is not a page of this firmware.
    {"StatePageOfTheFirstLayout", 2, 3, {0, 1}, std::nullopt, std::nullopt},
    {"LoopPageOfTheFirstLayout", 2, 19, {0, 5}, std::nullopt, std::nullopt},
    {"ProfileSix", 2, 22, {0, 6}, std::nullopt, std::nullopt},
};

class EveryAnswer : public ModemOnLine, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(EveryAnswer, LocalModemAcknowledgesThenAnswersWithTheExpectedCode) {
  const AnswerCase& c = GetParam();
  const Frame request = Request(c.subAddress, c.code, c.data);
  const Exchange e = Ask(request);
  ASSERT_TRUE(e.ack.has_value());
  EXPECT_EQ(*e.ack, ModemModel::Acknowledgement(request)) << "E7 7x code 00 ... checksum";
  EXPECT_EQ((*e.ack)[1], 0x70 | c.subAddress);
  if (!c.response) {
    EXPECT_FALSE(e.answer.has_value());
    return;
  }
  ASSERT_TRUE(e.answer.has_value());
  const Frame& a = *e.answer;
  EXPECT_EQ(a[0], kFrameStart);
  EXPECT_EQ(a[1], 0x70 | c.subAddress);
  EXPECT_EQ(a[2], *c.response);
  if (c.repeat) {
    EXPECT_EQ(a[4], *c.repeat);
  }
  EXPECT_TRUE(ChecksumMatches(a));
}

TEST_P(EveryAnswer, RemoteModemAnswersFromStationZero) {
  const AnswerCase& c = GetParam();
  modem.Configure([](ModemModel& m) { m.RemoteIdentity() = m.LocalIdentity(); });
  const Exchange e = Ask(Request(c.subAddress, c.code, c.data, false));
  ASSERT_TRUE(e.ack.has_value());
  EXPECT_EQ((*e.ack)[1], 0x30 | c.subAddress);
  ASSERT_EQ(e.answer.has_value(), c.response.has_value());
  if (c.response) {
    EXPECT_EQ((*e.answer)[1], 0x30 | c.subAddress);
    EXPECT_EQ((*e.answer)[2], *c.response);
  }
}

TEST_P(EveryAnswer, WithoutARemoteModemTheLocalOneOnlyAcknowledges) {
  const AnswerCase& c = GetParam();
  const Frame request = Request(c.subAddress, c.code, c.data, false);
  const Exchange e = Ask(request, 100ms);
  ASSERT_TRUE(e.ack.has_value());
  EXPECT_TRUE(IsValidAcknowledgement(*e.ack, c.code));
  EXPECT_FALSE(e.answer.has_value());
}

INSTANTIATE_TEST_SUITE_P(Commands, EveryAnswer, ::testing::ValuesIn(kAnswerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IdentifyAnswer, CarriesTheIdentityInFrameBytes5To8AndTheVariantIn10) {
  ModemModel model({.reserved = 0x5A, .type = 6, .version = 0x40, .third = '2', .variantCode = 7});
  const auto a = AnswerOf(model, Request(1, 3));
  ASSERT_TRUE(a);
  // The worked example's answer shape: E7 71 03 00 00, then the identification.
  EXPECT_EQ(std::vector<std::uint8_t>(a->begin(), a->begin() + 11),
            (std::vector<std::uint8_t>{0xE7, 0x71, 0x03, 0x00, 0x00, 0x5A, 0x06, 0x40, '2', 0x00, 0x07}));
}

TEST(SetupAnswers, EnterSetupHandsOutTheRecordInRecordBytes2To27) {
  ModemModel model;
  const ConfigRecord record = model.Local().config.Record();
  const auto a = AnswerOf(model, Request(2, 1));
  ASSERT_TRUE(a);
  EXPECT_TRUE(std::equal(record.begin(), record.end(), a->begin() + 3));
  EXPECT_TRUE(model.Local().config.InSetup());
}

TEST(SetupAnswers, HeldSetupIsRefusedWith27AndTheHolderFromRecordByte4) {
  ModemModel model;
  model.Local().config.setupHeld = true;
  model.Local().config.holder = SetupActivity(Actor::RemoteModem);
  const auto a = AnswerOf(model, Request(2, 1));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->at(2), 0x27);
  EXPECT_EQ(RecordByte(*a, 4), 0x20) << "setup active, remote modem";
  EXPECT_EQ(RecordByte(*a, 5), 0x00);
  EXPECT_FALSE(model.Local().config.InSetup());
}

TEST(SetupAnswers, ExitSetupKeepsThePayloadAndLeavesSetup) {
  ModemModel model;
  AnswerOf(model, Request(2, 1));
  const auto a = AnswerOf(model, Request(2, 24, {0x5A, 0xA5, 0x01, 0x02}));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->at(2), 0x26);
  EXPECT_FALSE(model.Local().config.InSetup());
  const auto payload = model.Local().config.LastExitPayload();
  ASSERT_TRUE(payload);
  EXPECT_EQ(*payload, (std::array<std::uint8_t, 4>{0x5A, 0xA5, 0x01, 0x02}));
}

TEST(ResetAnswers, ResetLeavesSetupAndDropsTheLoopWithoutCountingADisconnect) {
  ModemModel model;
  AnswerOf(model, Request(2, 1));
  AnswerOf(model, Request(2, 2, {0, 2}));
  ASSERT_TRUE(model.Local().loops.Connected());
  AnswerOf(model, Request(1, 2));
  AnswerOf(model, Request(1, 4));
  EXPECT_FALSE(model.Local().config.InSetup());
  EXPECT_FALSE(model.Local().loops.Connected());
  EXPECT_EQ(model.Local().loops.Disconnects(), 0);
  EXPECT_EQ(model.Local().resets, 1);
  EXPECT_EQ(model.Local().resetSecondSteps, 1);
}

TEST(LoaderFraming, EveryRequestGetsOneAcknowledgementAndAResetStartsTheFirmware) {
  ModemModel model({.reserved = 0x12, .type = 5, .version = 0x13, .third = '4', .loader = true});
  model.FirmwareAfterLoaderReset() = Identity{.type = 6, .version = 0x31, .third = '5'};
  auto replies = model.Handle(Request(1, 3));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(std::vector<std::uint8_t>(replies[0].frame.begin(), replies[0].frame.begin() + 9),
            (std::vector<std::uint8_t>{0xE7, 0x71, 0x03, 0x00, 0x00, 0x12, 0x05, 0x13, '4'}));
  replies = model.Handle(Request(1, 2));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_TRUE(IsValidAcknowledgement(replies[0].frame, 2));
  EXPECT_EQ(model.LoaderResets(), 1);
  EXPECT_EQ(model.CurrentFraming(), Framing::Working);
  EXPECT_EQ(model.LocalIdentity().type, 6);
}

TEST(LoaderFraming, ResetWithoutFirmwareStaysInTheLoader) {
  ModemModel model({.type = 5, .loader = true});
  model.Handle(Request(1, 2));
  EXPECT_EQ(model.CurrentFraming(), Framing::Loader);
}

TEST(BadRequests, AFrameWithABadChecksumGetsNoReplyAtAll) {
  ModemModel model;
  Frame request = Request(1, 3);
  request[30] ^= 1;
  EXPECT_TRUE(model.Handle(request).empty());
}

}  // namespace
}  // namespace rkvt::sim::test
