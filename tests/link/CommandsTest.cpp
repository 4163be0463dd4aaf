#include <gtest/gtest.h>

#include <numeric>

#include "link/Commands.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

using sim::Fault;
using sim::ReplyKind;
using Bytes = std::vector<std::uint8_t>;

// What a command puts on the line and what it ends with.
struct CommandCase {
  const char* name;
  std::uint8_t command, subAddress;
  Bytes data;        // written by the window into bytes 1..
  std::uint8_t code;  // the frame's code byte
  std::uint8_t done, failed, stopped;
  bool readsAnswer = true;
};

Bytes Numbers(std::size_t count, std::uint8_t first) {
  Bytes v(count);
  std::iota(v.begin(), v.end(), first);
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

struct EveryCommand : ::testing::TestWithParam<CommandCase>, test::WorkerOnPty {
  EveryCommand() : WorkerOnPty(sim::ModemModel({.type = 6, .version = 0x31, .third = '5'})) {}

  std::uint8_t RunIt(bool local = true, const std::function<void(TProtocol*)>& onStarted = {},
                     LinkTimings timings = test::FastTimings()) {
    reply.fill(0);
    std::copy(GetParam().data.begin(), GetParam().data.end(), reply.begin() + 1);
    return RunCommand(GetParam().command, GetParam().subAddress, local, reply, 11, {}, onStarted, timings);
  }

  std::array<std::uint8_t, 120> reply{};
};

TEST_P(EveryCommand, PutsItsExactFrameOnTheLineAndSucceedsForEitherModem) {
  const auto& c = GetParam();
  modem.Configure([](sim::ModemModel& m) { m.RemoteIdentity() = m.LocalIdentity(); });
  for (const bool local : {true, false}) {
    modem.ClearJournal();
    EXPECT_EQ(RunIt(local), c.done) << local;
    const auto journal = SettledJournal();
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].frame, BuildRequest((local ? 0xD0 : 0xC0) | c.subAddress, c.code, c.data));
    EXPECT_EQ(journal[0].framing, sim::Framing::Working);
  }
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
  EXPECT_EQ(RunIt(true, test::StopOnceReceived(modem, 1), LinkTimings{}), GetParam().stopped);
}

// An answer from another address fails the command; silence after the
// acknowledgement and an answer with a bad checksum (which counts as
// silence) too, except that the loop commands report no answer as such.
TEST_P(EveryCommand, WrongAddressSilenceOrBadChecksumInTheAnswerFails) {
  const auto& c = GetParam();
  if (!c.readsAnswer) GTEST_SKIP() << "no answer is read";
  const std::uint8_t silence = c.command == command::kConnectLoop      ? result::kConnectLoopNoAnswer
                               : c.command == command::kDisconnectLoop ? result::kDisconnectLoopNoAnswer
                                                                       : c.failed;
  for (const auto& [fault, expected] :
       {std::pair(Fault::WrongAddress, c.failed), std::pair(Fault::NoReply, silence), std::pair(Fault::BadChecksum, silence)}) {
    modem.ClearFaults();
    modem.AddFault({.fault = fault, .reply = ReplyKind::Answer});
    EXPECT_EQ(RunIt(), expected) << static_cast<int>(fault);
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, EveryCommand, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct OnPty : ::testing::Test, test::WorkerOnPty {
  std::array<std::uint8_t, 120> reply{};
};

// Response codes other than the expected one, command by command.
TEST_F(OnPty, WrongResponsesGiveTheFailedCode) {
  const std::tuple<std::uint8_t, Bytes, Fault, std::uint8_t> cases[] = {
      {command::kReset, {}, Fault::WrongResponse, 12},
      {command::kReset, {}, Fault::WrongRepeat, 12},  // byte 3 not zero
      {command::kResetSecondStep, {}, Fault::WrongRepeat, 15},
      {command::kEnterSetup, {}, Fault::WrongResponse, 20},
      {command::kExitSetup, {0, 0, 0, 0}, Fault::WrongResponse, 23},
      {command::kResetStatistics, {}, Fault::WrongResponse, 29},
      {command::kSetNewMode, {}, Fault::WrongResponse, 32},
      {command::kLoadProfile, {0, 1}, Fault::WrongResponse, 35},
      {command::kSaveProfile, {0, 1}, Fault::WrongResponse, 38},
      // 0x31 + 1 is 0x32, which connect reports as its own result.
      {command::kConnectLoop, {0, 1}, Fault::WrongResponse, 43},
      {command::kConnectLoop, {0, 1}, Fault::WrongAddress, 45},
      {command::kDisconnectLoop, {0, 1}, Fault::WrongResponse, 49},
      {command::kGetLoopStatistics, {0, 9}, Fault::WrongResponse, 51},
      {command::kGetLoopStatistics, {0, 9}, Fault::WrongRepeat, 51},  // another page
  };
  for (const auto& [command, data, fault, expected] : cases) {
    reply.fill(0);
    std::copy(data.begin(), data.end(), reply.begin() + 1);
    modem.ClearFaults();
    modem.AddFault({.fault = fault, .reply = ReplyKind::Answer});
    const std::uint8_t sub = command == command::kReset || command == command::kResetSecondStep ? 1 : 2;
    EXPECT_EQ(RunCommand(command, sub, true, reply, 11), expected) << int(command) << " " << static_cast<int>(fault);
  }
}

// Each way an exchange can go wrong comes back named, as the user reads it
// (the routines' own table names every bad acknowledgement). A faulty
// acknowledgement comes without its answer, which could otherwise pass for
// the next attempt's acknowledgement.
TEST_F(OnPty, FailedCommandsNameTheirFault) {
  using K = ReplyKind;
  struct Case {
    std::uint8_t command;
    bool local;
    Fault fault;
    K kind;
    std::uint8_t result;
    const char* text;
  };
  const Case cases[] = {
      {command::kIdentify, false, Fault::NoReply, K::Acknowledgement, 3, "no acknowledgement after 3 attempts"},
      {command::kResetStatistics, true, Fault::WrongEcho, K::Acknowledgement, 29,
       "acknowledgement echoes code 0x44, not 0x04 after 3 attempts"},
      {command::kResetStatistics, true, Fault::NonZeroStatus, K::Acknowledgement, 29,
       "acknowledgement with status 0x01 after 3 attempts"},
      {command::kResetStatistics, true, Fault::Noise, K::Acknowledgement, 29,
       "acknowledgement without its start byte after 3 attempts"},
      {command::kResetStatistics, true, Fault::NoReply, K::Answer, 29, "no answer in time"},
      {command::kResetStatistics, true, Fault::CutShort, K::Answer, 29, "answer cut short"},
      {command::kResetStatistics, true, Fault::BadChecksum, K::Answer, 29, "bad checksum in the answer"},
      {command::kResetStatistics, true, Fault::WrongAddress, K::Answer, 29, "answer from address 0x42, not 0x72"},
      {command::kResetStatistics, false, Fault::WrongResponse, K::Answer, 29,
       "answer with response code 0x2B, not 0x2A"},
      {command::kGetStatistics, true, Fault::WrongRepeat, K::Answer, 26, "answer repeats 0x08, not 0x07"},
      {command::kConnectLoop, true, Fault::NoReply, K::Answer, 42, "no answer in time"},
      {command::kResetStatistics, true, Fault::Vanish, K::Acknowledgement, 17, "serial port error: "},
  };
  modem.Configure([](sim::ModemModel& m) { m.RemoteIdentity() = m.LocalIdentity(); });
  for (const Case& c : cases) {
    reply.fill(0);
    modem.ClearFaults();
    modem.AddFault({.fault = c.fault, .reply = c.kind});
    if (c.kind == K::Acknowledgement) modem.AddFault({.fault = Fault::NoReply, .reply = K::Answer});
    const std::uint8_t sub = FindCommand(c.command)->subAddress;
    EXPECT_EQ(RunCommand(c.command, sub, c.local, reply, 11), c.result) << c.text;
    // The port error ends with the system's reason, which varies.
    const QString text = QString::fromLatin1(c.text);
    EXPECT_EQ(c.fault == Fault::Vanish ? run.fault.left(text.size()) : run.fault, text);
  }
}

// Below level 7 the first request asks for page 1, from level 7 on for page
// 7; then pages 2 and 3. The three answer records follow each other.
TEST_F(OnPty, StatisticsAsksForTheStatePageOfTheLevelThenPages2And3) {
  for (const auto& [level, page] : {std::pair(5, 1), std::pair(7, 7)}) {
    modem.ClearJournal();
    modem.Configure([&](sim::ModemModel& m) { m.LocalIdentity() = {.type = 1, .version = std::uint8_t(level == 5 ? 0x21 : 0x22), .third = '5'}; });
    EXPECT_EQ(RunCommand(command::kGetStatistics, 2, true, reply, level), result::kStatisticsDone);
    const auto journal = SettledJournal();
    ASSERT_EQ(journal.size(), 3u);
    const std::uint8_t pages[] = {std::uint8_t(page), 2, 3};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(journal[i].frame, BuildRequest(0xD2, 3, Bytes{0, pages[i]})) << "request " << i;
      // The result and the last request's bytes lie over the first record's start.
      const Bytes head = i ? Bytes{0x72, 0x29, 0, pages[i]} : Bytes{result::kStatisticsDone, 0, 3, pages[0]};
      EXPECT_EQ(Bytes(reply.begin() + 28 * i, reply.begin() + 28 * i + 4), head);
    }
  }
}

TEST_F(OnPty, StatisticsFailsWith26OnTheFirstBadPage) {
  modem.AddFault({.fault = Fault::WrongRepeat, .reply = ReplyKind::Answer, .times = 1});
  EXPECT_EQ(RunCommand(command::kGetStatistics, 2, true, reply, 11), result::kStatisticsFailed) << "another sub-code";
  EXPECT_EQ(SettledJournal().size(), 1u) << "the first failure ends the command";
  modem.ClearJournal();
  modem.AddFault({.fault = Fault::WrongAddress, .frameNumber = 3, .reply = ReplyKind::Answer});
  EXPECT_EQ(RunCommand(command::kGetStatistics, 2, true, reply, 11), result::kStatisticsFailed) << "third page";
  EXPECT_EQ(SettledJournal().size(), 3u);
  std::array<std::uint8_t, 83> small;  // less than three records
  small.fill(0x5C);
  RunCommand(command::kGetStatistics, 2, true, small, 11);
  EXPECT_EQ(SettledJournal().size(), 3u) << "nothing sent";
  EXPECT_EQ(std::count(small.begin(), small.end(), 0x5C), 83);
}

TEST_F(OnPty, StoppedDisconnectSendsASecondRequestWithZeros) {
  modem.AddFault({.fault = Fault::NoReply, .reply = ReplyKind::Answer});
  reply[2] = 8;
  EXPECT_EQ(RunCommand(command::kDisconnectLoop, 2, true, reply, 11, {}, test::StopOnceReceived(modem, 1), LinkTimings{}),
            result::kDisconnectLoopStopped);
  const auto journal = SettledJournal();
  ASSERT_GE(journal.size(), 2u);
  EXPECT_EQ(journal.front().frame, BuildRequest(0xD2, 18, Bytes{0, 8}));
  EXPECT_EQ(journal.back().frame, BuildRequest(0xD2, 18, Bytes{0, 0}));
}

// A refusal leaves the holder's or the running test's record from byte 4.
TEST_F(OnPty, RefusalsGive19Or44WithTheRecordOr43WhenSwitchedOff) {
  const sim::ActivityRecord holder = sim::SetupActivity(sim::Actor::RemoteTerminal);
  const sim::ActivityRecord busy = sim::TestActivity(sim::test_code::kDl, sim::Actor::LocalModem);
  modem.Configure([&](sim::ModemModel& m) {
    m.Local().config.setupHeld = true;
    m.Local().config.holder = holder;
    m.Local().loops.connectReply = sim::ConnectReply::Busy;
    m.Local().loops.busyRecord = busy;
  });
  EXPECT_EQ(RunCommand(command::kEnterSetup, 2, true, reply, 11), result::kSetupRefused);
  EXPECT_EQ(reply[1], 0x27);
  EXPECT_TRUE(std::equal(holder.begin(), holder.begin() + 4, reply.begin() + 4));
  reply[2] = 1;
  EXPECT_EQ(RunCommand(command::kConnectLoop, 2, true, reply, 11), result::kConnectLoopBusy);
  EXPECT_TRUE(std::equal(busy.begin(), busy.begin() + 4, reply.begin() + 4));
  modem.Configure([](sim::ModemModel& m) { m.Local().loops.connectReply = sim::ConnectReply::Off; });
  reply[2] = 1;
  EXPECT_EQ(RunCommand(command::kConnectLoop, 2, true, reply, 11), result::kConnectLoopAnswered32);
}

TEST_F(OnPty, LoadProfileLeavesTheRecordInForceAtBytes2To27) {
  const Bytes stored = Numbers(26, 0x30);
  modem.Configure([&](sim::ModemModel& m) { std::copy(stored.begin(), stored.end(), m.Local().config.Profile(4)->begin()); });
  reply[2] = 4;
  EXPECT_EQ(RunCommand(command::kLoadProfile, 2, true, reply, 11), 34);
  sim::ConfigRecord inForce{};
  modem.Examine([&](const sim::ModemModel& m) { inForce = m.Local().config.Record(); });
  EXPECT_TRUE(std::equal(inForce.begin(), inForce.end(), reply.begin() + 2));
  EXPECT_EQ(reply[10], stored[8]) << "profile 4's contents, not the record before";
}

TEST_F(OnPty, ResetViaLoaderSendsTheRawResetFrameOrGives12Unconfirmed13Stopped) {
  modem.Configure([](sim::ModemModel& m) { m.LocalIdentity() = {.type = 5, .version = 0x10, .third = '0', .loader = true}; });
  EXPECT_EQ(RunCommand(command::kResetViaLoader, 1, true, reply), result::kResetViaLoaderDone);
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].framing, sim::Framing::Loader);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 2, {}));
  modem.Configure([](sim::ModemModel& m) { m.LocalIdentity() = {.type = 5, .version = 0x10, .third = '0', .loader = true}; });
  modem.AddFault({.fault = Fault::NonZeroStatus});
  EXPECT_EQ(RunCommand(command::kResetViaLoader, 1, true, reply), result::kResetFailed);
  modem.ClearFaults();
  modem.AddFault({.fault = Fault::NoReply});
  modem.ClearJournal();
  EXPECT_EQ(RunCommand(command::kResetViaLoader, 1, true, reply, 0, {}, test::StopOnceReceived(modem, 1), LinkTimings{}),
            result::kResetStopped);
}

}  // namespace
}  // namespace rkvt
