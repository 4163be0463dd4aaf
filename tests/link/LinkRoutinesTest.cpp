#include <gtest/gtest.h>

#include <thread>

#include "LinkHarness.h"
#include "LinkRoutines.h"

namespace rkvt {
namespace {

using sim::Fault;
using sim::FaultRule;
using sim::ReplyKind;
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
  // Frames the emulator received, once no more are on their way.
  std::vector<sim::JournalEntry> SettledJournal() {
    std::size_t seen = modem.FrameCount();
    while (modem.WaitForFrames(seen + 1, 100ms)) seen = modem.FrameCount();
    return modem.Journal();
  }

  sim::ModemEmulator modem;
  QtSerialPort port{test::SettingsFor(modem.PortPath())};
  std::atomic<bool> stop{false};
  std::array<std::uint8_t, 28> buffer{};
};

TEST_F(RoutinesOnPty, SendRequestPutsTheWorkingFrameOnTheLineOnce) {
  EXPECT_TRUE(Local().SendRequest(3, buffer, 0));
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].framing, sim::Framing::Working);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 3, {}));
}

TEST_F(RoutinesOnPty, SendRequestCopiesBufferBytesFromOne) {
  buffer[0] = 0x99;  // never sent
  buffer[1] = 0x00;
  buffer[2] = 0x07;
  EXPECT_TRUE(Local().SendRequest(3, buffer, 2));
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  const std::array<std::uint8_t, 2> data{0x00, 0x07};
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 3, data));
}

struct FaultCase {
  const char* name;
  Fault fault;
  int delayMs;
};

class BadAcknowledgement : public RoutinesOnPty, public ::testing::WithParamInterface<FaultCase> {};

// Code 0x10 gets an acknowledgement and nothing else, so no answer that
// follows can pass for one.
constexpr std::uint8_t kAckOnlyCode = 0x10;

TEST_P(BadAcknowledgement, ThreeAttemptsThenFailure) {
  modem.AddFault({.fault = GetParam().fault, .delayMs = GetParam().delayMs});
  EXPECT_FALSE(Local().SendRequest(kAckOnlyCode, buffer, 0));
  modem.WaitForFrames(3, 2s);  // a late emulator may still be asleep
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 3u);
  for (const auto& entry : journal) EXPECT_EQ(entry.frame, BuildRequest(0xD1, kAckOnlyCode, {}));
}

TEST_P(BadAcknowledgement, OneBadReplyCostsOneAttempt) {
  // A reply later than all three waits stalls the whole routine; covered above.
  if (GetParam().fault == Fault::Late) GTEST_SKIP();
  modem.AddFault({.fault = GetParam().fault, .times = 1, .delayMs = GetParam().delayMs});
  EXPECT_TRUE(Local().SendRequest(kAckOnlyCode, buffer, 0));
  EXPECT_GE(SettledJournal().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, BadAcknowledgement,
    ::testing::Values(FaultCase{"NoReply", Fault::NoReply, 0}, FaultCase{"Garbled", Fault::Garbled, 0},
                      FaultCase{"BadChecksum", Fault::BadChecksum, 0},
                      FaultCase{"WrongEcho", Fault::WrongEcho, 0},
                      FaultCase{"NonZeroStatus", Fault::NonZeroStatus, 0},
                      FaultCase{"CutShort", Fault::CutShort, 0}, FaultCase{"Noise", Fault::Noise, 0},
                      FaultCase{"Late", Fault::Late, 600}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RoutinesOnPty, ReplyLateButWithinTimeOutIsTaken) {
  modem.AddFault({.fault = Fault::Late, .reply = ReplyKind::Acknowledgement, .delayMs = 60});
  EXPECT_TRUE(Local().SendRequest(3, buffer, 0));
  EXPECT_EQ(SettledJournal().size(), 1u);
}

TEST_F(RoutinesOnPty, ReadAnswerStoresFrameBytesOneTo28) {
  modem.Configure([](sim::ModemModel& m) { m.LocalIdentity() = {.reserved = 9, .type = 6, .version = 0x42, .third = '7', .variantCode = 5}; });
  auto link = Local();
  ASSERT_TRUE(link.SendRequest(3, buffer, 0));
  ASSERT_TRUE(link.ReadAnswer(buffer));
  EXPECT_EQ(buffer[0], 0x71);
  EXPECT_EQ(buffer[1], 3);
  EXPECT_EQ(buffer[4], 9);
  EXPECT_EQ(buffer[5], 6);
  EXPECT_EQ(buffer[6], 0x42);
  EXPECT_EQ(buffer[7], '7');
  EXPECT_EQ(buffer[9], 5);
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

TEST_F(RoutinesOnPty, ReadAnswerKeepsWrongAddressForTheCommandToJudge) {
  modem.AddFault({.fault = Fault::WrongAddress, .reply = ReplyKind::Answer});
  auto link = Local();
  ASSERT_TRUE(link.SendRequest(3, buffer, 0));
  ASSERT_TRUE(link.ReadAnswer(buffer));
  EXPECT_EQ(buffer[0], 0x71 ^ 0x30);
}

TEST_F(RoutinesOnPty, LoaderQueryReturnsFrameBytesFiveToEight) {
  UseLoader();
  modem.Configure([](sim::ModemModel& m) {
    m.LocalIdentity() = {.reserved = 0x12, .type = 5, .version = 0x13, .third = '4', .loader = true};
  });
  const auto values = Local().LoaderQuery(3);
  ASSERT_TRUE(values.has_value());
  EXPECT_EQ(values->value1, 0x1205);
  EXPECT_EQ(values->value2, 0x1334);
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].framing, sim::Framing::Loader);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 3, {}));
}

TEST_F(RoutinesOnPty, LoaderCommandRetriesABadReply) {
  UseLoader();
  modem.AddFault({.fault = Fault::BadChecksum, .times = 2});
  EXPECT_TRUE(Local().LoaderCommand(2));
  EXPECT_EQ(SettledJournal().size(), 3u);
}

TEST_F(RoutinesOnPty, LoaderWriteBlockOfBlankBytesSendsNothing) {
  UseLoader();
  std::array<std::uint8_t, 24> blank{};
  blank.fill(0xFF);
  EXPECT_TRUE(Local().LoaderWriteBlock(0x2B, 0x0018, blank));
  EXPECT_TRUE(SettledJournal().empty());
}

TEST_F(RoutinesOnPty, LoaderWriteBlockFrameCarriesOffsetAndData) {
  UseLoader();
  std::array<std::uint8_t, 24> data{};
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0x80 + i);
  data[23] = 0xFF;
  EXPECT_TRUE(Local().LoaderWriteBlock(0x2C, 0xFFE8, data));
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  const Frame& f = journal[0].frame;
  EXPECT_EQ(f[1], 0xD1);
  EXPECT_EQ(f[2], 0x2C);
  EXPECT_EQ(f[3], 0xFF);
  EXPECT_EQ(f[4], 0xE8);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), f.begin() + 5));
  EXPECT_TRUE(ChecksumMatches(f));
}

TEST_F(RoutinesOnPty, SendRequestTwoRepliesJudgesTheSecond) {
  std::array<std::uint8_t, 27> block{};
  block[1] = 0x00;
  block[2] = 0x18;
  EXPECT_TRUE(Local().SendRequestTwoReplies(43, block, 26));
  EXPECT_EQ(SettledJournal().size(), 1u);

  modem.ClearJournal();
  // A bad first reply is not examined.
  modem.AddFault({.fault = Fault::BadChecksum, .code = 43, .times = 1});
  EXPECT_TRUE(Local().SendRequestTwoReplies(43, block, 26));
  EXPECT_EQ(SettledJournal().size(), 1u);
}

TEST_F(RoutinesOnPty, SendRequestTwoRepliesDoesNotPurgeAndFailsOnMissingSecondReply) {
  modem.AddFault({.fault = Fault::NoReply, .code = 44});
  std::array<std::uint8_t, 27> block{};
  block[3] = 1;
  // Only one reply comes per attempt, so every second read times out.
  EXPECT_FALSE(Local().SendRequestTwoReplies(44, block, 26));
  EXPECT_EQ(SettledJournal().size(), 3u);
}

TEST_F(RoutinesOnPty, StopEndsEveryWaitButEveryAttemptIsStillWritten) {
  modem.AddFault({.fault = Fault::NoReply});
  stop = true;
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(Local(LinkTimings{}).SendRequest(3, buffer, 0));
  EXPECT_LT(clock.elapsed(), 1000) << "three 3000 ms waits must end at once";
  EXPECT_EQ(SettledJournal().size(), 3u);
}

TEST_F(RoutinesOnPty, StopEndsTheLongAnswerWaitAtOnce) {
  modem.AddFault({.fault = Fault::NoReply, .reply = ReplyKind::Answer});
  auto link = Local(LinkTimings{});
  ASSERT_TRUE(link.SendRequest(3, buffer, 0));
  std::thread stopper([this] {
    std::this_thread::sleep_for(100ms);
    stop = true;
  });
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(link.ReadAnswer(buffer));
  const qint64 took = clock.elapsed();
  stopper.join();
  EXPECT_LT(took, 150 + 50) << "the 181 s wait must end within 50 ms of the stop";
}

TEST_F(RoutinesOnPty, VanishingPortIsAReadError) {
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
