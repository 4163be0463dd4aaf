#include <gtest/gtest.h>

#include "link/Commands.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

using sim::Fault;
using sim::ReplyKind;
using Bytes = std::vector<std::uint8_t>;

struct IdentifyOnPty : ::testing::Test, test::WorkerOnPty {
  IdentifyOnPty() : WorkerOnPty(sim::ModemModel({.reserved = 0x5A, .type = 6, .version = 0x31, .third = '5', .variantCode = 6})) {}
  // Runs identify against the emulator; returns the result code.
  std::uint8_t Identify(bool local, const std::function<void(TProtocol*)>& onStarted = {},
                        LinkTimings timings = test::FastTimings()) {
    return RunCommand(command::kIdentify, 1, local, reply, 0, {}, onStarted, timings);
  }
  bool AllWorking() {
    const auto journal = SettledJournal();
    return std::all_of(journal.begin(), journal.end(), [](const auto& e) { return e.framing == sim::Framing::Working; });
  }

  std::array<std::uint8_t, 120> reply{};
};

TEST_F(IdentifyOnPty, WorkingModemGivesResult2AndIdentificationAtBytes1To5) {
  EXPECT_EQ(Identify(true), result::kIdentifiedWorking);
  // Reserved, type, version, third, variant; the rest of the answer record behind.
  EXPECT_EQ(Bytes(reply.begin() + 1, reply.begin() + 10), (Bytes{0x5A, 6, 0x31, '5', 6, 0x31, '5', 0, 6}));
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 3, {}));
  EXPECT_TRUE(host.texts.empty());
}

TEST_F(IdentifyOnPty, RemoteModemIsAddressedThroughTheLocalOneAndNeverFallsBackToTheLoader) {
  EXPECT_EQ(Identify(false), result::kIdentifyFailed) << "no remote modem";
  EXPECT_TRUE(AllWorking());
  modem.ClearJournal();
  modem.Configure([](sim::ModemModel& m) { m.RemoteIdentity() = sim::Identity{.type = 1, .version = 0x22, .third = '6'}; });
  EXPECT_EQ(Identify(false), result::kIdentifiedWorking);
  EXPECT_EQ(Bytes(reply.begin() + 2, reply.begin() + 5), (Bytes{1, 0x22, '6'}));
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xC1, 3, {}));
}

TEST_F(IdentifyOnPty, LocalModemInItsLoaderGivesResult1AfterThePause) {
  modem.Configure([](sim::ModemModel& m) {
    m.LocalIdentity() = {.reserved = 0x01, .type = 5, .version = 0x21, .third = '3', .loader = true};
  });
  reply[5] = 0xEE;
  EXPECT_EQ(Identify(true), result::kIdentifiedLoader);
  EXPECT_EQ(Bytes(reply.begin() + 1, reply.begin() + 6), (Bytes{0x01, 5, 0x21, '3', 0xEE})) << "variant byte left as it was";
  // The loader ignores the three working-framing attempts; the query comes raw.
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].framing, sim::Framing::Loader);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 3, {}));
  // Three 150 ms acknowledgement waits, then at least the 100 ms pause.
  EXPECT_GE(run.elapsedMs, 3 * 150 + 100);
}

TEST_F(IdentifyOnPty, AnswerThatIsNotAcceptedFallsBackLocally) {
  for (Fault fault : {Fault::WrongAddress, Fault::WrongResponse, Fault::WrongRepeat}) {
    modem.ClearFaults();
    modem.AddFault({.fault = fault, .reply = ReplyKind::Answer});
    EXPECT_EQ(Identify(true), result::kIdentifyFailed) << static_cast<int>(fault);
  }
}

// The 181 s answer wait outlasts the harness's hang limit: only a stop that
// ends it lets the worker complete.
TEST_F(IdentifyOnPty, StopDuringTheAnswerWaitGivesResult4) {
  modem.AddFault({.fault = Fault::NoReply, .reply = ReplyKind::Answer});
  EXPECT_EQ(Identify(true, test::StopOnceReceived(modem, 1), LinkTimings{}), result::kIdentifyStopped);
  EXPECT_EQ(run.fault, QStringLiteral("stopped"));
  EXPECT_TRUE(AllWorking()) << "no loader fallback after a stop";
}

TEST_F(IdentifyOnPty, GarbledAcknowledgementsRetryThenSucceed) {
  modem.AddFault({.fault = Fault::Garbled, .reply = ReplyKind::Acknowledgement, .times = 2});
  // No answers to the first two requests: a late one would pass for the
  // next attempt's acknowledgement (the answer repeats code 3, status 0).
  modem.AddFault({.fault = Fault::NoReply, .frameNumber = 1, .reply = ReplyKind::Answer});
  modem.AddFault({.fault = Fault::NoReply, .frameNumber = 2, .reply = ReplyKind::Answer});
  EXPECT_EQ(Identify(true), result::kIdentifiedWorking);
  EXPECT_EQ(SettledJournal().size(), 3u);
}

}  // namespace
}  // namespace rkvt
