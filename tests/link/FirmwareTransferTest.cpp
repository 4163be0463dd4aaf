#include <gtest/gtest.h>

#include "Commands.h"
#include "FirmwareTransfer.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

using sim::Fault;
using sim::ReplyKind;

TEST(BlockProgress, FollowsTheDivisorOneBelowTheImageSize) {
  EXPECT_EQ(BlockProgress(0, 0), 0);
  EXPECT_EQ(BlockProgress(0, kLastRegularOffset), 19);
  EXPECT_EQ(BlockProgress(1, 0), 20);
  EXPECT_EQ(BlockProgress(4, kLastRegularOffset), 99);
}

// An image with distinct bytes everywhere but a blank segment 2 and a few
// blank blocks in segment 0.
std::vector<std::uint8_t> TestImage() {
  std::vector<std::uint8_t> image(kImageSize);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
  std::fill(image.begin() + 2 * kSegmentSize, image.begin() + 3 * kSegmentSize, 0xFF);
  std::fill(image.begin() + 240, image.begin() + 240 + 48, 0xFF);
  return image;
}

struct Form {
  const char* name;
  std::uint8_t command;
  std::uint8_t done;
  sim::Identity identity;
};

const Form kLoaderForm{"Loader", command::kUpdateViaLoader, result::kUpdatedViaLoader,
                       {.type = 5, .version = 0x10, .third = '0', .loader = true}};
const Form kFirmwareForm{"Firmware", command::kUpdateViaFirmware, result::kUpdatedViaFirmware,
                         {.type = 6, .version = 0x31, .third = '5'}};

class Transfer : public ::testing::TestWithParam<Form>, public test::WorkerOnPty {
 protected:
  Transfer() : test::WorkerOnPty(sim::ModemModel(GetParam().identity)) {}

  std::uint8_t RunIt(const std::function<void(TProtocol*)>& onStarted = {}, LinkTimings timings = test::FastTimings()) {
    return RunCommand(GetParam().command, 1, true, reply, 0, image, onStarted, timings);
  }
  std::vector<sim::JournalEntry> Writes(std::uint8_t code) {
    std::vector<sim::JournalEntry> writes;
    for (const auto& e : SettledJournal())
      if (e.frame[2] == code) writes.push_back(e);
    return writes;
  }

  std::vector<std::uint8_t> image = TestImage();
  std::array<std::uint8_t, 5> reply{};
};

TEST_P(Transfer, WholeImageLandsInFlash) {
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
    EXPECT_EQ(e.framing, GetParam().identity.loader ? sim::Framing::Loader : sim::Framing::Working);
  }
}

TEST_P(Transfer, BlankBlocksAndTheBlankSegmentAreNeverSent) {
  EXPECT_EQ(RunIt(), GetParam().done);
  EXPECT_TRUE(Writes(0x2D).empty()) << "segment 2 is blank";
  const auto segment0 = Writes(0x2B);
  // 2730 regular blocks and the final one, less the two blank ones at 240 and 264.
  ASSERT_EQ(segment0.size(), 2731u - 2u);
  for (const auto& e : segment0) {
    const int offset = e.frame[3] << 8 | e.frame[4];
    EXPECT_NE(offset, 240);
    EXPECT_NE(offset, 264);
  }
  EXPECT_EQ(segment0[segment0.size() - 2].frame[3] << 8 | segment0[segment0.size() - 2].frame[4], 0xFFD8);
  EXPECT_EQ(segment0.back().frame[3] << 8 | segment0.back().frame[4], 0xFFE8);
  // The final block's first 8 bytes repeat the last 8 of the block before.
  EXPECT_TRUE(std::equal(segment0.back().frame.begin() + 5, segment0.back().frame.begin() + 13,
                         segment0[segment0.size() - 2].frame.begin() + 21));
}

TEST_P(Transfer, MessagesAndProgressGoToTheUpdateWindow) {
  EXPECT_EQ(RunIt(), GetParam().done);
  ASSERT_EQ(host.texts.size(), 2u);
  EXPECT_EQ(host.texts[0], QStringLiteral(" Erase software ..."));
  EXPECT_EQ(host.texts[1], QStringLiteral(" Update software ..."));
  for (bool toUpdate : host.toUpdate) EXPECT_TRUE(toUpdate);
  const std::vector<int> erase(host.progress.begin(), host.progress.begin() + 5);
  EXPECT_EQ(erase, (std::vector<int>{20, 40, 60, 80, 100}));
  EXPECT_EQ(host.progress[5], 0) << "after the first block";
  EXPECT_EQ(host.progress.back(), GetParam().identity.loader ? 100 : 100);
  EXPECT_TRUE(std::is_sorted(host.progress.begin() + 5, host.progress.end()));
  const bool loader = GetParam().identity.loader;
  // The loader form reports blank blocks too; the firmware form skips them.
  const std::size_t blocksInSegment2 = std::count_if(host.progress.begin() + 5, host.progress.end(),
                                                     [](int p) { return p > 40 && p < 60; });
  EXPECT_EQ(blocksInSegment2 > 0, loader);
}

TEST_P(Transfer, BlockWriteRefusedInSegment3Gives8AndNothingMore) {
  modem.AddFault({.fault = Fault::NonZeroStatus, .code = 0x2E});
  EXPECT_EQ(RunIt(), result::kWriteFailed);
  const auto journal = SettledJournal();
  ASSERT_GE(journal.size(), 3u);
  const auto& last = journal.back().frame;
  EXPECT_EQ(last[2], 0x2E);
  EXPECT_EQ(last[3] << 8 | last[4], 0) << "the first block of segment 3";
  EXPECT_EQ(journal[journal.size() - 3].frame, last) << "three attempts of the same block";
  EXPECT_EQ(Writes(0x2E).size(), 3u);
  EXPECT_TRUE(Writes(0x2F).empty());
}

TEST_P(Transfer, StopInSegment2EndsAfterTheBlockInProgress) {
  image = TestImage();
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
  if (GetParam().identity.loader) {
    EXPECT_EQ(journal.size(), framesAtStop);
  } else {
    ASSERT_EQ(journal.size(), framesAtStop + 3);
    EXPECT_EQ(journal[framesAtStop].frame, journal.back().frame);
  }
  EXPECT_EQ(journal.back().frame[2], 0x2D);
}

TEST_P(Transfer, StopDuringEraseGives7) {
  modem.AddFault({.fault = Fault::NoReply, .code = 24});
  EXPECT_EQ(RunIt(test::StopAfter(100), LinkTimings{}), result::kEraseFailed);
  EXPECT_LT(run.elapsedMs, 3000);
  EXPECT_TRUE(Writes(0x2B).empty());
}

TEST_P(Transfer, PortVanishingMidTransferGives17) {
  modem.AddFault({.fault = Fault::Vanish, .frameNumber = 400});
  EXPECT_EQ(RunIt({}, LinkTimings{}), result::kPortError);
  ASSERT_FALSE(host.texts.empty());
  EXPECT_EQ(host.texts.back(), QStringLiteral(" Can't read COM-port!"));
  EXPECT_TRUE(host.toUpdate.back());
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

TEST(LoaderForm, FailedBlockGives8EvenWhenStopped) {
  test::WorkerOnPty bench(sim::ModemModel(kLoaderForm.identity));
  bench.modem.AddFault({.fault = Fault::NoReply, .code = 0x2B});
  std::vector<std::uint8_t> image(kImageSize, 0x00);
  std::array<std::uint8_t, 5> reply{};
  EXPECT_EQ(bench.RunCommand(command::kUpdateViaLoader, 1, true, reply, 0, image, test::StopAfter(100), LinkTimings{}),
            result::kWriteFailed);
}

TEST(FirmwareForm, FailedBlockGives9WhenStopped) {
  test::WorkerOnPty bench(sim::ModemModel(kFirmwareForm.identity));
  bench.modem.AddFault({.fault = Fault::NoReply, .code = 0x2B});
  std::vector<std::uint8_t> image(kImageSize, 0x00);
  std::array<std::uint8_t, 5> reply{};
  EXPECT_EQ(bench.RunCommand(command::kUpdateViaFirmware, 1, true, reply, 0, image, test::StopAfter(100), LinkTimings{}),
            result::kUpdateStopped);
}

}  // namespace
}  // namespace rkvt
