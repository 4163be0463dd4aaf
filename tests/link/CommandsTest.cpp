#include <gtest/gtest.h>

#include "Commands.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

using sim::Fault;
using sim::ReplyKind;

// What a command puts on the line and what it ends with when all goes well.
struct CommandCase {
  const char* name;
  std::uint8_t command;
  std::uint8_t subAddress;
  std::vector<std::uint8_t> data;  // written by the window into bytes 1..
  std::uint8_t code;               // the frame's code byte
  std::uint8_t done, failed, stopped;
  bool readsAnswer = true;
};

std::vector<std::uint8_t> Numbers(std::size_t count, std::uint8_t first) {
  std::vector<std::uint8_t> v(count);
  for (std::size_t i = 0; i < count; ++i) v[i] = static_cast<std::uint8_t>(first + i);
  return v;
}

const std::vector<CommandCase> kCases{
    {"Reset", command::kReset, 1, {}, 2, 11, 12, 13},
    {"ResetSecondStep", command::kResetSecondStep, 1, {}, 4, 14, 15, 16},
    {"EnterSetup", command::kEnterSetup, 2, {}, 1, 18, 20, 21},
    {"ExitSetup", command::kExitSetup, 2, {1, 2, 3, 4}, 24, 22, 23, 24},
    {"ResetStatistics", command::kResetStatistics, 2, {}, 4, 28, 29, 30},
    {"SetNewMode", command::kSetNewMode, 2, Numbers(26, 0x40), 20, 31, 32, 33},
    {"LoadProfile", command::kLoadProfile, 2, {0, 3}, 22, 34, 35, 36},
    {"SaveProfile", command::kSaveProfile, 2, {0, 2}, 21, 37, 38, 39},
    {"ConnectLoop", command::kConnectLoop, 2, {0, 1}, 2, 40, 45, 41},
    {"DisconnectLoop", command::kDisconnectLoop, 2, {0, 1}, 18, 46, 49, 47},
    {"GetLoopStatistics", command::kGetLoopStatistics, 2, {0, 9}, 19, 50, 51, 52},
    {"ResetLoopStatistics", command::kResetLoopStatistics, 2, {}, 17, 53, 54, 55, false},
};

class EveryCommand : public ::testing::TestWithParam<CommandCase>, public test::WorkerOnPty {
 protected:
  EveryCommand() : test::WorkerOnPty(sim::ModemModel({.type = 6, .version = 0x31, .third = '5'})) {}

  std::uint8_t RunIt(bool local = true, const std::function<void(TProtocol*)>& onStarted = {},
                     LinkTimings timings = test::FastTimings()) {
    reply.fill(0);
    std::copy(GetParam().data.begin(), GetParam().data.end(), reply.begin() + 1);
    return RunCommand(GetParam().command, GetParam().subAddress, local, reply, 11, {}, onStarted, timings);
  }

  std::array<std::uint8_t, 120> reply{};
};

TEST_P(EveryCommand, PutsItsExactFrameOnTheLineAndSucceeds) {
  const auto& c = GetParam();
  EXPECT_EQ(RunIt(), c.done);
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  const std::uint8_t address = static_cast<std::uint8_t>(0xD0 | c.subAddress);
  EXPECT_EQ(journal[0].frame, BuildRequest(address, c.code, c.data));
  EXPECT_EQ(journal[0].framing, sim::Framing::Working);
  if (c.readsAnswer) {
    EXPECT_EQ(reply[0], c.done);
  }
}

TEST_P(EveryCommand, RemoteTargetUsesTheRemoteAddress) {
  modem.Configure([](sim::ModemModel& m) { m.RemoteIdentity() = m.LocalIdentity(); });
  EXPECT_EQ(RunIt(false), GetParam().done);
  const auto journal = SettledJournal();
  ASSERT_FALSE(journal.empty());
  EXPECT_EQ(journal[0].frame[1], 0xC0 | GetParam().subAddress);
}

TEST_P(EveryCommand, UnacknowledgedRequestFailsAfterThreeAttempts) {
  // Silence all round: some answers (reset's 0x02, 0x04) would pass for an
  // acknowledgement of the same code.
  modem.AddFault({.fault = Fault::NoReply});
  EXPECT_EQ(RunIt(), GetParam().failed);
  EXPECT_EQ(SettledJournal().size(), 3u);
}

TEST_P(EveryCommand, StopDuringTheWaitGivesTheStoppedCode) {
  const ReplyKind silent = GetParam().readsAnswer ? ReplyKind::Answer : ReplyKind::Acknowledgement;
  modem.AddFault({.fault = Fault::NoReply, .reply = silent});
  EXPECT_EQ(RunIt(true, test::StopAfter(100), LinkTimings{}), GetParam().stopped);
  EXPECT_LT(run.elapsedMs, 2000);
}

TEST_P(EveryCommand, AnswerFromAnotherAddressFails) {
  if (!GetParam().readsAnswer) GTEST_SKIP() << "no answer is read";
  modem.AddFault({.fault = Fault::WrongAddress, .reply = ReplyKind::Answer});
  EXPECT_EQ(RunIt(), GetParam().failed);
}

TEST_P(EveryCommand, SilenceAfterTheAcknowledgementFails) {
  if (!GetParam().readsAnswer) GTEST_SKIP() << "no answer is read";
  modem.AddFault({.fault = Fault::NoReply, .reply = ReplyKind::Answer});
  const std::uint8_t expected = GetParam().command == command::kConnectLoop      ? result::kConnectLoopNoAnswer
                                : GetParam().command == command::kDisconnectLoop ? result::kDisconnectLoopNoAnswer
                                                                                 : GetParam().failed;
  EXPECT_EQ(RunIt(), expected);
}

TEST_P(EveryCommand, AnswerWithBadChecksumCountsAsSilence) {
  if (!GetParam().readsAnswer) GTEST_SKIP() << "no answer is read";
  modem.AddFault({.fault = Fault::BadChecksum, .reply = ReplyKind::Answer});
  const std::uint8_t expected = GetParam().command == command::kConnectLoop      ? result::kConnectLoopNoAnswer
                                : GetParam().command == command::kDisconnectLoop ? result::kDisconnectLoopNoAnswer
                                                                                 : GetParam().failed;
  EXPECT_EQ(RunIt(), expected);
}

TEST_P(EveryCommand, PortVanishingEndsWithResult17) {
  modem.AddFault({.fault = Fault::Vanish});
  EXPECT_EQ(RunIt(true, {}, LinkTimings{}), result::kPortError);
  ASSERT_EQ(host.texts.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Commands, EveryCommand, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Response codes other than the expected one, command by command.
struct ResponseCase {
  const char* name;
  std::uint8_t command;
  std::vector<std::uint8_t> data;
  Fault fault;
  std::uint8_t result;
};

class ResponseJudgement : public ::testing::TestWithParam<ResponseCase>, public test::WorkerOnPty {};

TEST_P(ResponseJudgement, GivesTheDocumentedResult) {
  const auto& c = GetParam();
  std::array<std::uint8_t, 120> reply{};
  std::copy(c.data.begin(), c.data.end(), reply.begin() + 1);
  modem.AddFault({.fault = c.fault, .reply = ReplyKind::Answer});
  const std::uint8_t sub = c.command == command::kReset || c.command == command::kResetSecondStep ? 1 : 2;
  EXPECT_EQ(RunCommand(c.command, sub, true, reply, 11), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ResponseJudgement,
    ::testing::Values(ResponseCase{"ResetWrongResponse", command::kReset, {}, Fault::WrongResponse, 12},
                      ResponseCase{"ResetByte3NotZero", command::kReset, {}, Fault::WrongRepeat, 12},
                      ResponseCase{"SecondStepByte3NotZero", command::kResetSecondStep, {}, Fault::WrongRepeat, 15},
                      ResponseCase{"EnterSetupWrongResponse", command::kEnterSetup, {}, Fault::WrongResponse, 20},
                      ResponseCase{"ExitSetupWrongResponse", command::kExitSetup, {0, 0, 0, 0}, Fault::WrongResponse, 23},
                      ResponseCase{"ResetStatisticsWrongResponse", command::kResetStatistics, {}, Fault::WrongResponse, 29},
                      ResponseCase{"SetNewModeWrongResponse", command::kSetNewMode, {}, Fault::WrongResponse, 32},
                      ResponseCase{"LoadProfileWrongResponse", command::kLoadProfile, {0, 1}, Fault::WrongResponse, 35},
                      ResponseCase{"SaveProfileWrongResponse", command::kSaveProfile, {0, 1}, Fault::WrongResponse, 38},
                      // 0x31 + 1 is 0x32, which connect reports as its own result.
                      ResponseCase{"ConnectAnswered32", command::kConnectLoop, {0, 1}, Fault::WrongResponse, 43},
                      ResponseCase{"ConnectWrongAddress", command::kConnectLoop, {0, 1}, Fault::WrongAddress, 45},
                      ResponseCase{"DisconnectWrongResponse", command::kDisconnectLoop, {0, 1}, Fault::WrongResponse, 49},
                      ResponseCase{"LoopStatisticsWrongResponse", command::kGetLoopStatistics, {0, 9}, Fault::WrongResponse, 51},
                      ResponseCase{"LoopStatisticsOtherPage", command::kGetLoopStatistics, {0, 9}, Fault::WrongRepeat, 51}),
    [](const auto& info) { return std::string(info.param.name); });

class Statistics : public ::testing::Test, public test::WorkerOnPty {
 protected:
  std::array<std::uint8_t, 120> reply{};
};

TEST_F(Statistics, LevelBelow7AsksForPage1ThenPages2And3) {
  modem.Configure([](sim::ModemModel& m) { m.LocalIdentity() = {.type = 1, .version = 0x21, .third = '5'}; });
  EXPECT_EQ(RunCommand(command::kGetStatistics, 2, true, reply, 5), result::kStatisticsDone);
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 3u);
  const std::uint8_t pages[] = {1, 2, 3};
  for (int i = 0; i < 3; ++i) {
    const std::array<std::uint8_t, 2> data{0, pages[i]};
    EXPECT_EQ(journal[i].frame, BuildRequest(0xD2, 3, data)) << "request " << i;
  }
  EXPECT_EQ(reply[0], 25);
  EXPECT_EQ(reply[1], 0);
  EXPECT_EQ(reply[2], 3);
  EXPECT_EQ(reply[3], 1);
  EXPECT_EQ(reply[28], 0x72);
  EXPECT_EQ(reply[29], 0x29);
  EXPECT_EQ(reply[31], 2);
  EXPECT_EQ(reply[56], 0x72);
  EXPECT_EQ(reply[57], 0x29);
  EXPECT_EQ(reply[59], 3);
}

TEST_F(Statistics, Level7OrMoreAsksForPage7First) {
  EXPECT_EQ(RunCommand(command::kGetStatistics, 2, true, reply, 7), result::kStatisticsDone);
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_EQ(journal[0].frame[4], 7);
  EXPECT_EQ(reply[3], 7);
}

TEST_F(Statistics, AnswerRepeatingAnotherSubCodeFails) {
  modem.AddFault({.fault = Fault::WrongRepeat, .reply = ReplyKind::Answer, .times = 1});
  EXPECT_EQ(RunCommand(command::kGetStatistics, 2, true, reply, 11), result::kStatisticsFailed);
  EXPECT_EQ(SettledJournal().size(), 1u) << "the first failure ends the command";
}

TEST_F(Statistics, FailureOfTheThirdPageFailsTheCommand) {
  modem.AddFault({.fault = Fault::WrongAddress, .frameNumber = 3, .reply = ReplyKind::Answer});
  EXPECT_EQ(RunCommand(command::kGetStatistics, 2, true, reply, 11), result::kStatisticsFailed);
  EXPECT_EQ(SettledJournal().size(), 3u);
}

TEST_F(Statistics, BufferSmallerThanThreeRecordsSendsNothing) {
  std::array<std::uint8_t, 83> small{};
  small.fill(0x5C);
  RunCommand(command::kGetStatistics, 2, true, small, 11);
  EXPECT_TRUE(SettledJournal().empty());
  for (std::uint8_t b : small) ASSERT_EQ(b, 0x5C);
}

class Loop : public ::testing::Test, public test::WorkerOnPty {
 protected:
  std::array<std::uint8_t, 120> reply{};
};

TEST_F(Loop, StoppedDisconnectSendsASecondRequestWithZeros) {
  modem.AddFault({.fault = Fault::NoReply, .reply = ReplyKind::Answer});
  reply[1] = 0;
  reply[2] = 8;
  EXPECT_EQ(RunCommand(command::kDisconnectLoop, 2, true, reply, 11, {}, test::StopAfter(100), LinkTimings{}),
            result::kDisconnectLoopStopped);
  const auto journal = SettledJournal();
  ASSERT_GE(journal.size(), 2u);
  const std::array<std::uint8_t, 2> first{0, 8};
  const std::array<std::uint8_t, 2> second{0, 0};
  EXPECT_EQ(journal.front().frame, BuildRequest(0xD2, 18, first));
  EXPECT_EQ(journal.back().frame, BuildRequest(0xD2, 18, second));
}

TEST_F(Loop, ConnectWithoutAnswerIs42NotFailed) {
  modem.AddFault({.fault = Fault::NoReply, .reply = ReplyKind::Answer});
  reply[2] = 1;
  EXPECT_EQ(RunCommand(command::kConnectLoop, 2, true, reply, 11), result::kConnectLoopNoAnswer);
}

TEST_F(Loop, ResetLoopStatisticsSucceedsOnTheAcknowledgementAlone) {
  EXPECT_EQ(RunCommand(command::kResetLoopStatistics, 2, true, reply, 11), result::kResetLoopStatisticsDone);
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD2, 17, {}));
}

class Refusals : public ::testing::Test, public test::WorkerOnPty {
 protected:
  std::array<std::uint8_t, 120> reply{};
};

TEST_F(Refusals, SetupHeldGives19WithTheHolderFromByte4) {
  const sim::ActivityRecord holder = sim::SetupActivity(sim::Actor::RemoteTerminal);
  modem.Configure([&](sim::ModemModel& m) {
    m.Local().config.setupHeld = true;
    m.Local().config.holder = holder;
  });
  EXPECT_EQ(RunCommand(command::kEnterSetup, 2, true, reply, 11), result::kSetupRefused);
  EXPECT_EQ(reply[1], 0x27);
  EXPECT_TRUE(std::equal(holder.begin(), holder.begin() + 4, reply.begin() + 4));
}

TEST_F(Refusals, BusyModemGives44WithTheActivityFromByte4) {
  const sim::ActivityRecord busy = sim::TestActivity(sim::test_code::kDl, sim::Actor::LocalModem);
  modem.Configure([&](sim::ModemModel& m) {
    m.Local().loops.connectReply = sim::ConnectReply::Busy;
    m.Local().loops.busyRecord = busy;
  });
  reply[2] = 1;
  EXPECT_EQ(RunCommand(command::kConnectLoop, 2, true, reply, 11), result::kConnectLoopBusy);
  EXPECT_TRUE(std::equal(busy.begin(), busy.begin() + 4, reply.begin() + 4));
}

TEST_F(Refusals, LoopSwitchedOffGives43) {
  modem.Configure([](sim::ModemModel& m) { m.Local().loops.connectReply = sim::ConnectReply::Off; });
  reply[2] = 1;
  EXPECT_EQ(RunCommand(command::kConnectLoop, 2, true, reply, 11), result::kConnectLoopAnswered32);
}

TEST_F(Refusals, LoadProfileLeavesTheRecordInForceAtBytes2To27) {
  std::array<std::uint8_t, 26> stored{};
  for (std::size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<std::uint8_t>(0x30 + i);
  modem.Configure([&](sim::ModemModel& m) { std::copy(stored.begin(), stored.end(), m.Local().config.Profile(4)->begin()); });
  reply[1] = 0;
  reply[2] = 4;
  EXPECT_EQ(RunCommand(command::kLoadProfile, 2, true, reply, 11), 34);
  sim::ConfigRecord inForce{};
  modem.Examine([&](const sim::ModemModel& m) { inForce = m.Local().config.Record(); });
  EXPECT_TRUE(std::equal(inForce.begin(), inForce.end(), reply.begin() + 2));
  EXPECT_EQ(reply[10], stored[8]) << "profile 4's contents, not the record before";
}

class LoaderReset : public ::testing::Test, public test::WorkerOnPty {
 protected:
  LoaderReset() : test::WorkerOnPty(sim::ModemModel({.type = 5, .version = 0x10, .third = '0', .loader = true})) {}
  std::array<std::uint8_t, 120> reply{};
};

TEST_F(LoaderReset, SendsTheRawResetFrame) {
  EXPECT_EQ(RunCommand(command::kResetViaLoader, 1, true, reply), result::kResetViaLoaderDone);
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].framing, sim::Framing::Loader);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 2, {}));
}

TEST_F(LoaderReset, UnconfirmedIs12AndStoppedIs13) {
  modem.AddFault({.fault = Fault::NonZeroStatus});
  EXPECT_EQ(RunCommand(command::kResetViaLoader, 1, true, reply), result::kResetFailed);
  modem.ClearFaults();
  modem.AddFault({.fault = Fault::NoReply});
  EXPECT_EQ(RunCommand(command::kResetViaLoader, 1, true, reply, 0, {}, test::StopAfter(50), LinkTimings{}),
            result::kResetStopped);
}

}  // namespace
}  // namespace rkvt
