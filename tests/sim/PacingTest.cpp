// The paced emulator must never be faster than the line (it knows when a
// request started to one character time); how close it comes to the line's
// own time is printed, not asserted.
#include <cstdio>

#include "SimHarness.h"

namespace rkvt::sim::test {
namespace {

constexpr int kBaud = 115200;
double LineMs(std::size_t characters) { return characters * 10.0 * 1000.0 / kBaud; }

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

class Pacing : public ModemOnLine {
 protected:
  void SetUp() override { modem.SetBaudRate(kBaud); }
};

TEST_F(Pacing, AnAcknowledgementNeverArrivesBeforeRequestAndReplyCouldCrossTheLine) {
  const auto start = std::chrono::steady_clock::now();
  const Exchange e = Ask(Request(2, 17), 20ms);
  ASSERT_TRUE(e.ack);
  // Ask waited 20 ms for an answer that never came; take it off.
  EXPECT_GE(MsSince(start) - 20.0, LineMs(2 * kWorkingFrameSize - 1));
}

TEST_F(Pacing, WorkingTransferTakesItsLineTime) {
  constexpr int kBlocks = 60;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kBlocks; ++i) {
    std::vector<std::uint8_t> data{0, static_cast<std::uint8_t>(24 * i)};
    data.resize(26, 0x5A);
    line.Send(Request(1, 43, data), Framing::Working);
    ASSERT_TRUE(line.ReadFrame(Framing::Working));
    ASSERT_TRUE(line.ReadFrame(Framing::Working));
  }
  const double took = MsSince(start);
  const double minimum = LineMs(kBlocks * 3 * kWorkingFrameSize);
  std::printf("[ pacing   ] %d working blocks at %d baud: %.1f ms, line %.1f ms, ratio %.4f\n", kBlocks, kBaud, took,
              minimum, took / minimum);
  EXPECT_GE(took, minimum - LineMs(1));
}

TEST_F(Pacing, LoaderTransferTakesItsLineTime) {
  modem.Configure([](ModemModel& m) { m.LocalIdentity().loader = true; });
  constexpr int kBlocks = 150;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kBlocks; ++i) {
    line.Send(BuildRequest(0xD1, 43, std::vector<std::uint8_t>(26, static_cast<std::uint8_t>(i))), Framing::Loader);
    ASSERT_TRUE(line.ReadFrame(Framing::Loader));
  }
  const double took = MsSince(start);
  const double minimum = LineMs(kBlocks * 2 * kFrameSize);
  std::printf("[ pacing   ] %d loader blocks at %d baud: %.1f ms, line %.1f ms, ratio %.4f\n", kBlocks, kBaud, took,
              minimum, took / minimum);
  EXPECT_GE(took, minimum - LineMs(1));
}

}  // namespace
}  // namespace rkvt::sim::test
