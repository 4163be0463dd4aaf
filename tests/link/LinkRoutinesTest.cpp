#include <gtest/gtest.h>

#include <thread>

#include "LinkHarness.h"
#include "link/LinkRoutines.h"

namespace rkvt {
namespace {

using sim::Fault;
using sim::ReplyKind;
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

class RoutinesOnPty : public ::testing::Test {
 protected:
  void SetUp() override { port.Open(); }
  void TearDown() override { port.Close(); }

  LinkRoutines Local(LinkTimings timings = test::FastTimings()) {
    return LinkRoutines(port, RequestAddress(true, 1), stop, timings);
  }
  void UseLoader() {
    modem.Configure([](sim::ModemModel& m) { m.LocalIdentity().loader = true; });
  }
  std::vector<sim::JournalEntry> SettledJournal() { return test::SettledJournal(modem); }

  sim::ModemEmulator modem;
  QtSerialPort port{test::SettingsFor(modem.PortPath())};
  std::atomic<bool> stop{false};
  std::array<std::uint8_t, 28> buffer{};
};

TEST_F(RoutinesOnPty, SendRequestPutsTheWorkingFrameWithBufferBytesFromOneOnTheLineOnce) {
  buffer = {0x99, 0x00, 0x07};  // byte 0 is never sent
  EXPECT_TRUE(Local().SendRequest(3, buffer, 2));
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].framing, sim::Framing::Working);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 3, Bytes{0x00, 0x07}));
}

class BadAcknowledgement : public RoutinesOnPty,
                           public ::testing::WithParamInterface<std::tuple<const char*, Fault, int, FaultKind>> {};

// Code 0x10 gets an acknowledgement and nothing else, so no answer that
// follows can pass for one.
constexpr std::uint8_t kAckOnlyCode = 0x10;

TEST_P(BadAcknowledgement, ThreeAttemptsThenFailureButOneBadReplyCostsOneAttempt) {
  const auto [name, fault, delayMs, named] = GetParam();
  modem.AddFault({.fault = fault, .delayMs = delayMs});
  const Exchanged sent = Local().SendRequest(kAckOnlyCode, buffer, 0);
  EXPECT_EQ(sent.fault.kind, named);
  EXPECT_EQ(sent.fault.attempts, 3);
  modem.WaitForFrames(3, 2s);  // a late emulator may still be asleep
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 3u);
  for (const auto& entry : journal) EXPECT_EQ(entry.frame, BuildRequest(0xD1, kAckOnlyCode, {}));
  // A reply later than all three waits stalls the whole routine.
  if (fault == Fault::Late) return;
  modem.ClearFaults();
  modem.ClearJournal();
  modem.AddFault({.fault = fault, .times = 1, .delayMs = delayMs});
  EXPECT_TRUE(Local().SendRequest(kAckOnlyCode, buffer, 0));
  EXPECT_EQ(SettledJournal().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, BadAcknowledgement,
    ::testing::Values(std::tuple("NoReply", Fault::NoReply, 0, FaultKind::NoReply),
                      std::tuple("Garbled", Fault::Garbled, 0, FaultKind::BadChecksum),
                      std::tuple("BadChecksum", Fault::BadChecksum, 0, FaultKind::BadChecksum),
                      std::tuple("WrongEcho", Fault::WrongEcho, 0, FaultKind::WrongEcho),
                      std::tuple("NonZeroStatus", Fault::NonZeroStatus, 0, FaultKind::BadStatus),
                      std::tuple("CutShort", Fault::CutShort, 0, FaultKind::CutShort),
                      std::tuple("Noise", Fault::Noise, 0, FaultKind::BadStart),
                      std::tuple("Late", Fault::Late, 600, FaultKind::NoReply)),
    [](const auto& info) { return std::string(std::get<0>(info.param)); });

TEST_F(RoutinesOnPty, ReplyLateButWithinTimeOutIsTaken) {
  modem.AddFault({.fault = Fault::Late, .reply = ReplyKind::Acknowledgement, .delayMs = 60});
  EXPECT_TRUE(Local().SendRequest(3, buffer, 0));
  EXPECT_EQ(SettledJournal().size(), 1u);
}

TEST_F(RoutinesOnPty, ReadAnswerStoresFrameBytesOneTo28AndKeepsAWrongAddressForTheCommandToJudge) {
  modem.Configure([](sim::ModemModel& m) {
    m.LocalIdentity() = {.reserved = 9, .type = 6, .version = 0x42, .third = '7', .variantCode = 5};
  });
  modem.AddFault({.fault = Fault::WrongAddress, .reply = ReplyKind::Answer, .times = 1});
  for (const std::uint8_t address : {0x71 ^ 0x30, 0x71}) {
    auto link = Local();
    ASSERT_TRUE(link.SendRequest(3, buffer, 0));
    ASSERT_TRUE(link.ReadAnswer(buffer));
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 10), (Bytes{address, 3, 0, 0, 9, 6, 0x42, '7', 0, 5}));
  }
}

TEST_F(RoutinesOnPty, ReadAnswerRefusesBadChecksumAndShortAnswers) {
  for (Fault fault : {Fault::BadChecksum, Fault::CutShort, Fault::Garbled, Fault::NoReply}) {
    modem.ClearFaults();
    modem.AddFault({.fault = fault, .reply = ReplyKind::Answer});
    auto link = Local();
    ASSERT_TRUE(link.SendRequest(3, buffer, 0));
    EXPECT_FALSE(link.ReadAnswer(buffer)) << static_cast<int>(fault);
  }
}

TEST_F(RoutinesOnPty, LoaderQueryReturnsFrameBytesFiveToEightAndLoaderCommandRetriesABadReply) {
  modem.Configure([](sim::ModemModel& m) {
    m.LocalIdentity() = {.reserved = 0x12, .type = 5, .version = 0x13, .third = '4', .loader = true};
  });
  const auto values = Local().LoaderQuery(3);
  ASSERT_TRUE(values);
  EXPECT_EQ(std::pair(int(values->value1), int(values->value2)), std::pair(0x1205, 0x1334));
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].framing, sim::Framing::Loader);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 3, {}));
  modem.ClearJournal();
  modem.AddFault({.fault = Fault::BadChecksum, .times = 2});
  EXPECT_TRUE(Local().LoaderCommand(2));
  EXPECT_EQ(SettledJournal().size(), 3u);
}

TEST_F(RoutinesOnPty, LoaderWriteBlockCarriesOffsetAndDataButABlankBlockSendsNothing) {
  UseLoader();
  std::array<std::uint8_t, 24> blank;
  blank.fill(0xFF);
  EXPECT_TRUE(Local().LoaderWriteBlock(0x2B, 0x0018, blank));
  EXPECT_TRUE(SettledJournal().empty());
  Bytes data{0xFF, 0xE8};  // the offset, then 24 bytes; the last may be blank
  for (int i = 0; i < 23; ++i) data.push_back(static_cast<std::uint8_t>(0x80 + i));
  data.push_back(0xFF);
  EXPECT_TRUE(Local().LoaderWriteBlock(0x2C, 0xFFE8, std::span<const std::uint8_t, 24>(data.data() + 2, 24)));
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 0x2C, data));
}

TEST_F(RoutinesOnPty, SendRequestTwoRepliesJudgesOnlyTheSecondAndDoesNotPurge) {
  std::array<std::uint8_t, 27> block{0, 0x00, 0x18};
  EXPECT_TRUE(Local().SendRequestTwoReplies(43, block, 26));
  EXPECT_EQ(SettledJournal().size(), 1u);
  modem.ClearJournal();
  modem.AddFault({.fault = Fault::BadChecksum, .code = 43, .times = 1});
  EXPECT_TRUE(Local().SendRequestTwoReplies(43, block, 26)) << "a bad first reply is not examined";
  EXPECT_EQ(SettledJournal().size(), 1u);
  modem.ClearJournal();
  // Only one reply comes per attempt, so every second read times out.
  modem.AddFault({.fault = Fault::NoReply, .code = 44});
  EXPECT_FALSE(Local().SendRequestTwoReplies(44, block, 26));
  EXPECT_EQ(SettledJournal().size(), 3u);
}

TEST_F(RoutinesOnPty, StopEndsEveryWaitButEveryAttemptIsStillWritten) {
  modem.AddFault({.fault = Fault::NoReply});
  stop = true;
  const Exchanged sent = Local(LinkTimings{}).SendRequest(3, buffer, 0);
  EXPECT_EQ(sent.fault.kind, FaultKind::Stopped);
  EXPECT_EQ(SettledJournal().size(), 3u);
}

TEST_F(RoutinesOnPty, StopEndsTheLongAnswerWaitAtOnce) {
  modem.AddFault({.fault = Fault::NoReply, .reply = ReplyKind::Answer});
  auto link = Local(LinkTimings{});
  ASSERT_TRUE(link.SendRequest(3, buffer, 0));
  std::thread stopper([&] {
    std::this_thread::sleep_for(100ms);
    stop = true;
  });
  // Stopped, not timed out: the stop ends the wait (bench_link prints how soon).
  EXPECT_EQ(link.ReadAnswer(buffer).fault, (FrameFault{.kind = FaultKind::Stopped, .stage = FaultStage::Answer}));
  stopper.join();
}

TEST_F(RoutinesOnPty, VanishingPortIsAReadOrWriteError) {
  modem.AddFault({.fault = Fault::Vanish});
  try {
    Local().SendRequest(3, buffer, 0);
    FAIL() << "no port error";
  } catch (const PortError& e) {
    EXPECT_TRUE(e.Code() == PortError::kRead || e.Code() == PortError::kWrite) << e.Code();
  }
}

}  // namespace
}  // namespace rkvt
