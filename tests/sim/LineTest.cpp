// The emulator on its pty: request parsing, injected faults, flash steps in
// both framings and pacing.
#include <numeric>

#include "SimHarness.h"

namespace rkvt::sim::test {
namespace {

const Frame kRequest = BuildRequest(0xD2, 0x14, Bytes{1, 2, 3});

// Every frame the parser finds in `prefix` followed by `copies` of kRequest.
std::vector<Frame> Parse(Framing framing, Bytes prefix, int copies = 1) {
  for (int i = 0; i < copies; ++i) {
    const Bytes bytes = OnLine(kRequest, framing == Framing::Working);
    prefix.insert(prefix.end(), bytes.begin(), bytes.end());
  }
  FrameParser parser(framing);
  std::vector<Frame> frames;
  for (std::uint8_t b : prefix)
    if (auto f = parser.Feed(b)) frames.push_back(*f);
  EXPECT_FALSE(parser.InFrame());
  return frames;
}

TEST(FrameParser, FindsFramesAfterNoiseAndFalseStartsAndBackToBack) {
  EXPECT_EQ(Parse(Framing::Working, {0x00, 0x3E, 0x3E, 0x41, 0x33}), std::vector{kRequest}) << "noise, lone start, junk";
  EXPECT_EQ(Parse(Framing::Working, {}, 2), (std::vector{kRequest, kRequest}));
  EXPECT_EQ(Parse(Framing::Loader, {0x30, 0x31, 0x00}), std::vector{kRequest}) << "raw from E7";
  EXPECT_TRUE(Parse(Framing::Working, Bytes(kRequest.begin(), kRequest.end()), 0).empty()) << "raw frame, working parser";
}

// `n` bytes counting up from `first`.
Bytes Counting(std::uint8_t first, std::size_t n = 24) {
  Bytes run(n);
  std::iota(run.begin(), run.end(), first);
  return run;
}

// Erase (23..27), or write (43..47) of 24 bytes counting up from `fill`.
Frame Step(std::uint8_t code, std::uint16_t offset = 0, std::uint8_t fill = 0) {
  Bytes data{static_cast<std::uint8_t>(offset >> 8), static_cast<std::uint8_t>(offset)};
  const Bytes run = Counting(fill);
  data.insert(data.end(), run.begin(), run.end());
  return Request(1, code, code >= 43 ? data : Bytes{});
}

using Faults = ModemOnLine;
using Pacing = ModemOnLine;

TEST_F(Faults, FrameNumberPicksOneFrameAndReplyNumberOneOfItsReplies) {
  modem.AddFault({.fault = Fault::NonZeroStatus, .code = 43, .frameNumber = 3});
  modem.AddFault({.fault = Fault::NoReply, .frameNumber = 5, .replyNumber = 2});
  for (int n = 1; n <= 5; ++n) {
    line.Send(Step(43, static_cast<std::uint16_t>(24 * n)), Framing::Working);
    for (int reply = 1; reply <= (n == 5 ? 1 : 2); ++reply) {
      const Frame f = line.ReadFrame(Framing::Working).value_or(Frame{});
      EXPECT_EQ(f[3], n == 3 ? 1 : 0) << "frame " << n << " reply " << reply;
      EXPECT_TRUE(ChecksumMatches(f)) << "a refusal, not a garbled frame";
    }
  }
  EXPECT_TRUE(line.Quiet(100ms));
  // The modem wrote them all: only the confirmation was refused.
  modem.Examine([](const ModemModel& m) { EXPECT_EQ(m.Flash().Writes(), 5); });
}

TEST_F(Faults, AlteredAnswersDifferInTheirOneByteAndKeepAValidChecksum) {
  const Frame clean = AnswerTo(Request(2, 19, {0, 9}));
  // The fault, the byte it alters and what it makes of 0x72, 0x29 or 9.
  for (const auto& [fault, at, value] : {std::tuple(Fault::WrongAddress, 1, 0x72 ^ 0x30),
                                         std::tuple(Fault::WrongResponse, 2, 0x29 + 1), std::tuple(Fault::WrongRepeat, 4, 9 ^ 0x0F)}) {
    modem.AddFault({.fault = fault, .code = 19, .reply = ReplyKind::Answer, .times = 1});
    const Frame other = AnswerTo(Request(2, 3, {0, 7}));
    EXPECT_EQ(Bytes(other.begin(), other.begin() + 5), (Bytes{0xE7, 0x72, 0x29, 0, 7})) << "only code 19 was chosen";
    Frame altered = AnswerTo(Request(2, 19, {0, 9}));
    EXPECT_TRUE(ChecksumMatches(altered));
    EXPECT_EQ(altered[at], value);
    altered[at] = clean[at];
    EXPECT_TRUE(std::equal(clean.begin(), clean.begin() + 29, altered.begin())) << "the rest as it was";
  }
}

constexpr std::size_t kSegment = FlashMemory::kSegmentSize;

struct FirmwareFlash : ModemOnLine {
  using ModemOnLine::ModemOnLine;
  // One step: one raw acknowledgement from the loader, two through the
  // working firmware, and nothing more.
  void Do(const Frame& request, Framing framing = Framing::Working) {
    line.Send(request, framing);
    for (int i = framing == Framing::Working ? 2 : 1; i > 0; --i)
      EXPECT_EQ(line.ReadFrame(framing), ModemModel::Acknowledgement(request));
    EXPECT_TRUE(line.Quiet(30ms)) << "another reply";
  }
};

struct LoaderFlash : FirmwareFlash {
  LoaderFlash() : FirmwareFlash(ModemModel({.type = 5, .loader = true})) {}
  void Do(const Frame& request) { FirmwareFlash::Do(request, Framing::Loader); }
};

TEST_F(LoaderFlash, EraseBlanksItsSegmentAndWritesLandAtTheirOffsetAsFarAsTheyFit) {
  const Bytes before = modem.Flash();
  const std::size_t s2 = 2 * kSegment;
  ASSERT_LT(std::count(before.begin() + s2, before.begin() + s2 + kSegment, 0xFF), 1000) << "old firmware looks blank";
  Do(Step(25));
  Do(Step(45, 0x0018, 0x80));
  Do(Step(45, 0xFFE8, 0x10));  // the final block, the segment's last 24 bytes
  Do(Step(47, 0x0030, 0x01));  // segment 4 was never erased
  Do(Step(23));
  Do(Step(43, 0xFFF0, 0x40));  // runs 8 bytes past segment 0
  const Bytes flash = modem.Flash();
  const auto At = [](const Bytes& b, std::size_t from, std::size_t n = 24) { return Bytes(b.begin() + from, b.begin() + from + n); };
  EXPECT_EQ(std::count(flash.begin() + s2, flash.begin() + s2 + kSegment, 0xFF), kSegment - 48);
  EXPECT_EQ(std::tuple(At(flash, s2 + 0x18), At(flash, s2 + 0xFFE8)), std::tuple(Counting(0x80), Counting(0x10)));
  EXPECT_EQ(std::tuple(At(flash, 4 * kSegment + 0x30), At(flash, 0xFFF0, 16)), std::tuple(Counting(0x01), Counting(0x40, 16)));
  EXPECT_EQ(At(flash, kSegment, kSegment), At(before, kSegment, kSegment)) << "segment 1 untouched";
  EXPECT_EQ(At(flash, 3 * kSegment, kSegment + 0x30), At(before, 3 * kSegment, kSegment + 0x30));
  EXPECT_EQ(At(flash, 4 * kSegment + 0x48, kSegment - 0x48), At(before, 4 * kSegment + 0x48, kSegment - 0x48));
  modem.Examine([](const ModemModel& m) {
    // Erases of segment 2, writes, writes to unerased segments, writes past a segment.
    const FlashMemory& f = m.Flash();
    EXPECT_EQ(std::tuple(f.Erases(2), f.Writes(), f.WritesToUnerased(), f.WritesPastSegment()), std::tuple(1, 4, 1, 1));
  });
}

TEST_F(FirmwareFlash, EraseAndWriteChangeTheMemoryAlikeButNotOnSubAddressTwoOrTheRemoteModem) {
  for (std::uint8_t k = 0; k < 5; ++k) Do(Step(23 + k));
  EXPECT_EQ(modem.Flash(), Bytes(FlashMemory::kSize, 0xFF));
  Do(Step(43, 0x0000, 0xA0));
  Do(Step(46, 0xFFD8, 0x20));
  const Bytes flash = modem.Flash();
  EXPECT_EQ(std::tuple(flash[0], flash[23], flash[24], flash[3 * kSegment + 0xFFD8]), std::tuple(0xA0, 0xA0 + 23, 0xFF, 0x20));
  modem.Examine([](const ModemModel& m) { EXPECT_EQ(m.Flash().WritesToUnerased(), 0); });
  modem.Configure([](ModemModel& m) { m.RemoteIdentity() = m.LocalIdentity(); });
  Do(BuildRequest(0xC1, 23, {}));
  EXPECT_TRUE(Ask(BuildRequest(0xD2, 23, {}), 50ms).ack);
  EXPECT_EQ(modem.Flash(), flash);
}

// The paced emulator must never be faster than the line (it knows when a
// request started to one character time); how close it comes to the line's
// own time is the transfer benchmark's business.
TEST_F(Pacing, RepliesNeverComeSoonerThanTheLineAllows) {
  modem.SetBaudRate(115200);  // 10 bits a character
  for (const Framing framing : {Framing::Working, Framing::Loader}) {
    const bool working = framing == Framing::Working;
    if (!working) modem.Configure([](ModemModel& m) { m.LocalIdentity().loader = true; });
    const int blocks = working ? 60 : 150;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < blocks; ++i) {
      line.Send(Step(43, static_cast<std::uint16_t>(24 * i)), framing);
      for (int reply = working ? 2 : 1; reply > 0; --reply) ASSERT_TRUE(line.ReadFrame(framing));
    }
    const std::size_t characters = blocks * (working ? 3 * kWorkingFrameSize : 2 * kFrameSize);
    EXPECT_GE(std::chrono::steady_clock::now() - start, (characters - 1) * 10 * 1s / 115200.0) << blocks;
  }
}

}  // namespace
}  // namespace rkvt::sim::test
