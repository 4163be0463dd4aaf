#include <gtest/gtest.h>

#include "Commands.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

using sim::Fault;
using sim::ReplyKind;
using namespace std::chrono_literals;

class IdentifyOnPty : public ::testing::Test {
 protected:
  // Runs identify against the emulator; returns the result code.
  std::uint8_t Identify(bool local, LinkTimings timings = test::FastTimings(),
                        const std::function<void(TProtocol*)>& onStarted = {}) {
    auto* worker = new TProtocol(command::kIdentify, 1, local, reply.size(), reply.data(),
                                 {test::PortOn(modem.PortPath()), timings, &host, 0});
    run = test::RunWorker(worker, onStarted);
    EXPECT_TRUE(run.completed);
    return reply[0];
  }
  std::vector<sim::JournalEntry> SettledJournal() {
    std::size_t seen = modem.FrameCount();
    while (modem.WaitForFrames(seen + 1, 100ms)) seen = modem.FrameCount();
    return modem.Journal();
  }

  sim::ModemEmulator modem{sim::ModemModel(
      {.reserved = 0x5A, .type = 6, .version = 0x31, .third = '5', .variantCode = 6})};
  test::RecordingHost host;
  std::array<std::uint8_t, 120> reply{};
  test::WorkerRun run;
};

TEST_F(IdentifyOnPty, WorkingModemGivesResult2AndIdentificationAtBytes1To5) {
  EXPECT_EQ(Identify(true), result::kIdentifiedWorking);
  EXPECT_EQ(reply[1], 0x5A);
  EXPECT_EQ(reply[2], 6);
  EXPECT_EQ(reply[3], 0x31);
  EXPECT_EQ(reply[4], '5');
  EXPECT_EQ(reply[5], 6);
  // The rest of the answer record stays behind it.
  EXPECT_EQ(reply[6], 0x31);
  EXPECT_EQ(reply[7], '5');
  EXPECT_EQ(reply[8], 0);
  EXPECT_EQ(reply[9], 6);
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].frame, BuildRequest(0xD1, 3, {}));
  EXPECT_TRUE(host.texts.empty());
}

TEST_F(IdentifyOnPty, RemoteModemIsAddressedThroughTheLocalOne) {
  modem.Configure([](sim::ModemModel& m) {
    m.RemoteIdentity() = sim::Identity{.type = 1, .version = 0x22, .third = '6'};
  });
  EXPECT_EQ(Identify(false), result::kIdentifiedWorking);
  EXPECT_EQ(reply[2], 1);
  EXPECT_EQ(reply[3], 0x22);
  EXPECT_EQ(reply[4], '6');
  const auto journal = SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].frame[1], 0xC1);
}

TEST_F(IdentifyOnPty, SilentRemoteModemNeverFallsBackToTheLoader) {
  EXPECT_EQ(Identify(false), result::kIdentifyFailed);
  for (const auto& entry : SettledJournal()) EXPECT_EQ(entry.framing, sim::Framing::Working);
}

TEST_F(IdentifyOnPty, LocalModemInItsLoaderGivesResult1AfterThePause) {
  modem.Configure([](sim::ModemModel& m) {
    m.LocalIdentity() = {.reserved = 0x01, .type = 5, .version = 0x21, .third = '3', .loader = true};
  });
  reply[5] = 0xEE;
  EXPECT_EQ(Identify(true), result::kIdentifiedLoader);
  EXPECT_EQ(reply[1], 0x01);
  EXPECT_EQ(reply[2], 5);
  EXPECT_EQ(reply[3], 0x21);
  EXPECT_EQ(reply[4], '3');
  EXPECT_EQ(reply[5], 0xEE) << "the variant byte is left as it was";
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

TEST_F(IdentifyOnPty, StopDuringTheAnswerWaitGivesResult4Quickly) {
  modem.AddFault({.fault = Fault::NoReply, .reply = ReplyKind::Answer});
  const auto stopLater = [](TProtocol* worker) {
    QTimer::singleShot(100, worker, [worker] { worker->Terminate(); });
  };
  EXPECT_EQ(Identify(true, LinkTimings{}, stopLater), result::kIdentifyStopped);
  EXPECT_LT(run.elapsedMs, 100 + 50 + 100) << "the 181 s wait must end right after the stop";
  for (const auto& entry : SettledJournal()) EXPECT_EQ(entry.framing, sim::Framing::Working);
}

TEST_F(IdentifyOnPty, GarbledAcknowledgementsRetryThenSucceed) {
  modem.AddFault({.fault = Fault::Garbled, .reply = ReplyKind::Acknowledgement, .times = 2});
  EXPECT_EQ(Identify(true), result::kIdentifiedWorking);
  EXPECT_EQ(SettledJournal().size(), 3u);
}

}  // namespace
}  // namespace rkvt
