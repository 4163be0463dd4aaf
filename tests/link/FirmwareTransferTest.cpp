#include <gtest/gtest.h>

#include <thread>

#include "link/Commands.h"
#include "link/FirmwareTransfer.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

using sim::Fault;

TEST(BlockProgress, FollowsTheDivisorOneBelowTheImageSize) {
  EXPECT_EQ(BlockProgress(0, 0), 0);
  EXPECT_EQ(BlockProgress(0, kLastRegularOffset), 19);
  EXPECT_EQ(BlockProgress(1, 0), 20);
  EXPECT_EQ(BlockProgress(4, kLastRegularOffset), 99);
}

// An image with distinct bytes everywhere but a blank segment 2 and two
// blank blocks in segment 0, at 240 and 264.
std::vector<std::uint8_t> TestImage() {
  std::vector<std::uint8_t> image(kImageSize);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
  std::fill(image.begin() + 2 * kSegmentSize, image.begin() + 3 * kSegmentSize, 0xFF);
  std::fill(image.begin() + 240, image.begin() + 240 + 48, 0xFF);
  return image;
}

struct Form {
  const char* name;
  std::uint8_t command, done;
  sim::Identity identity;
};

const Form kLoaderForm{"Loader", command::kUpdateViaLoader, result::kUpdatedViaLoader,
                       {.type = 5, .version = 0x10, .third = '0', .loader = true}};
const Form kFirmwareForm{"Firmware", command::kUpdateViaFirmware, result::kUpdatedViaFirmware,
                         {.type = 6, .version = 0x31, .third = '5'}};

struct Transfer : ::testing::TestWithParam<Form>, test::WorkerOnPty {
  Transfer() : WorkerOnPty(sim::ModemModel(GetParam().identity)) {}

  std::uint8_t RunIt(const std::function<void(TProtocol*)>& onStarted = {}, LinkTimings timings = test::FastTimings()) {
    return RunCommand(GetParam().command, 1, true, reply, 0, image, onStarted, timings);
  }
  // The write frames of one segment (code 0x2B + segment).
  std::vector<sim::JournalEntry> Writes(std::uint8_t code) {
    std::vector<sim::JournalEntry> writes;
    for (const auto& e : SettledJournal())
      if (e.frame[2] == code) writes.push_back(e);
    return writes;
  }
  static int OffsetOf(const sim::JournalEntry& e) { return e.frame[3] << 8 | e.frame[4]; }

  bool loader = GetParam().identity.loader;
  std::vector<std::uint8_t> image = TestImage();
  std::array<std::uint8_t, 5> reply{};
};

TEST_P(Transfer, WholeImageLandsInFlashWithoutBlankBlocksAndWithItsMessagesAndProgress) {
  EXPECT_EQ(RunIt(), GetParam().done);
  EXPECT_EQ(modem.Flash(), image);
  const auto journal = SettledJournal();
  ASSERT_GT(journal.size(), 5u);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(journal[k].frame, BuildRequest(0xD1, 23 + k, {})) << "erase " << k;
  // The first write carries offset 0 and image bytes 0..23.
  std::vector<std::uint8_t> first{0, 0};
  first.insert(first.end(), image.begin(), image.begin() + 24);
  EXPECT_EQ(journal[5].frame, BuildRequest(0xD1, 0x2B, first));
  for (const auto& e : journal) {
    EXPECT_EQ(e.frame[1], 0xD1);
    EXPECT_EQ(e.framing, loader ? sim::Framing::Loader : sim::Framing::Working);
  }

  EXPECT_TRUE(Writes(0x2D).empty()) << "segment 2 is blank";
  const auto segment0 = Writes(0x2B);
  // 2730 regular blocks and the final one, less the two blank ones.
  ASSERT_EQ(segment0.size(), 2731u - 2u);
  for (const auto& e : segment0) EXPECT_TRUE(OffsetOf(e) != 240 && OffsetOf(e) != 264) << OffsetOf(e);
  const auto& last = segment0.back();
  const auto& beforeLast = segment0[segment0.size() - 2];
  EXPECT_EQ(std::pair(OffsetOf(beforeLast), OffsetOf(last)), std::pair(0xFFD8, 0xFFE8));
  // The final block's first 8 bytes repeat the last 8 of the block before.
  EXPECT_TRUE(std::equal(last.frame.begin() + 5, last.frame.begin() + 13, beforeLast.frame.begin() + 21));

  EXPECT_EQ(host.texts, (std::vector<QString>{" Erase software ...", " Update software ..."}));
  EXPECT_EQ(std::vector<int>(host.progress.begin(), host.progress.begin() + 6), (std::vector<int>{20, 40, 60, 80, 100, 0}))
      << "five erases, then the first block";
  EXPECT_EQ(host.progress.back(), 100);
  EXPECT_TRUE(std::is_sorted(host.progress.begin() + 5, host.progress.end()));
  // The loader form reports blank blocks too; the firmware form skips them.
  EXPECT_EQ(std::any_of(host.progress.begin() + 5, host.progress.end(), [](int p) { return p > 40 && p < 60; }), loader);
}

TEST_P(Transfer, BlockWriteRefusedInSegment3Gives8AndNothingMore) {
  modem.AddFault({.fault = Fault::NonZeroStatus, .code = 0x2E});
  EXPECT_EQ(RunIt(), result::kWriteFailed);
  const auto journal = SettledJournal();
  ASSERT_GE(journal.size(), 3u);
  EXPECT_EQ(journal.back().frame[2], 0x2E);
  EXPECT_EQ(OffsetOf(journal.back()), 0) << "the first block of segment 3";
  EXPECT_EQ(journal[journal.size() - 3].frame, journal.back().frame) << "three attempts of the same block";
  EXPECT_EQ(Writes(0x2E).size(), 3u);
  EXPECT_TRUE(Writes(0x2F).empty());
}

TEST_P(Transfer, StopInSegment2EndsAfterTheBlockInProgress) {
  std::fill(image.begin() + 2 * kSegmentSize, image.begin() + 3 * kSegmentSize, 0x11);
  TProtocol* running = nullptr;
  std::size_t framesAtStop = 0;
  host.onProgress = [&](int p) {
    if (p == 50 && framesAtStop == 0 && host.texts.size() == 2) {
      framesAtStop = modem.FrameCount();
      running->Terminate();
    }
  };
  EXPECT_EQ(RunIt([&](TProtocol* w) { running = w; }), result::kUpdateStopped);
  const auto journal = SettledJournal();
  ASSERT_GT(framesAtStop, 0u);
  // The loader form tests the flag right after the progress. The firmware
  // form tests it after its next block, whose three attempts all go out
  // (each wait ends at once).
  ASSERT_EQ(journal.size(), framesAtStop + (loader ? 0 : 3));
  EXPECT_EQ(journal[journal.size() - 1].frame, journal[loader ? journal.size() - 1 : framesAtStop].frame);
  EXPECT_EQ(journal.back().frame[2], 0x2D);
}

// A block that finds no acknowledgement until the stop: the loader form
// reports the write failure, the firmware form the stop.
TEST_P(Transfer, StopDuringEraseGives7AndDuringAFailingBlock8Or9) {
  // Stops are tied to progress, not to a clock: a stop timed while an
  // answered request is pending would leave late replies on the line.
  TProtocol* running = nullptr;
  int stopAt = 20;  // the first segment erased, the second one unanswered
  host.onProgress = [&](int p) {
    if (p == stopAt && running) running->Terminate();
  };
  modem.AddFault({.fault = Fault::NoReply, .code = 24});
  EXPECT_EQ(RunIt([&](TProtocol* w) { running = w; }, LinkTimings{}), result::kEraseFailed);
  EXPECT_TRUE(Writes(0x2B).empty());
  modem.ClearFaults();
  modem.AddFault({.fault = Fault::NoReply, .code = 0x2B});
  stopAt = 100;  // as the erase phase ends, so the first block is the failing one
  EXPECT_EQ(RunIt([&](TProtocol* w) { running = w; }, LinkTimings{}),
            loader ? result::kWriteFailed : result::kUpdateStopped);
  host.onProgress = nullptr;
}

TEST_P(Transfer, PortVanishingMidTransferGives17) {
  modem.AddFault({.fault = Fault::Vanish, .frameNumber = 400});
  EXPECT_EQ(RunIt({}, LinkTimings{}), result::kPortError);
  ASSERT_FALSE(host.texts.empty());
  EXPECT_EQ(host.texts.back(), QStringLiteral(" Can't read COM-port!"));
  EXPECT_EQ(host.progress.back(), 0);
}

TEST_P(Transfer, ImageOfTheWrongSizeSendsNothing) {
  image.resize(kImageSize - 1);
  reply.fill(0x77);
  RunIt();
  EXPECT_TRUE(SettledJournal().empty());
  EXPECT_EQ(reply[0], 0x77);
}

INSTANTIATE_TEST_SUITE_P(BothForms, Transfer, ::testing::Values(kLoaderForm, kFirmwareForm),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FirmwareForm, PausesAfterTheLastBlock) {
  test::WorkerOnPty bench(sim::ModemModel(kFirmwareForm.identity));
  std::vector<std::uint8_t> image(kImageSize, 0xFF);
  image[kImageSize - 1] = 0x00;  // one block to send, in segment 4
  std::array<std::uint8_t, 5> reply{};
  EXPECT_EQ(bench.RunCommand(command::kUpdateViaFirmware, 1, true, reply, 0, image), result::kUpdatedViaFirmware);
  const auto end = std::chrono::steady_clock::now();
  const auto journal = bench.SettledJournal();
  ASSERT_EQ(journal.size(), 6u);
  EXPECT_GE(end - journal.back().at, std::chrono::milliseconds(200));
}

// The block writes read two replies without a purge, so replies that came
// late for an earlier worker must not still wait on the port.
TEST(FirmwareForm, LateRepliesToAnEarlierCommandAreNotTakenForItsOwn) {
  test::WorkerOnPty bench(sim::ModemModel(kFirmwareForm.identity));
  bench.modem.AddFault({.fault = Fault::Late, .delayMs = 300});
  std::array<std::uint8_t, 28> state{};
  const LinkTimings once{.acknowledgementMs = 100, .answerMs = 1000, .attempts = 1};
  EXPECT_EQ(bench.RunCommand(command::kReset, 1, true, state, 0, {}, {}, once), result::kResetFailed);
  // Acknowledgement and answer, both late, are out on the line now.
  ASSERT_TRUE(bench.modem.WaitForReplies(2, std::chrono::seconds(60)));
  bench.modem.ClearFaults();
  bench.modem.ClearJournal();
  std::vector<std::uint8_t> image(kImageSize, 0xFF);
  image[kImageSize - 1] = 0x00;
  std::array<std::uint8_t, 5> reply{};
  EXPECT_EQ(bench.RunCommand(command::kUpdateViaFirmware, 1, true, reply, 0, image), result::kUpdatedViaFirmware);
  EXPECT_EQ(bench.SettledJournal().size(), 6u) << "five erases and one block, none repeated";
}

}  // namespace
}  // namespace rkvt
