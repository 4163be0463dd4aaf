#include <gtest/gtest.h>

#include "FrameParser.h"

namespace rkvt::sim {
namespace {

std::optional<Frame> FeedAll(FrameParser& parser, const std::vector<std::uint8_t>& bytes) {
  std::optional<Frame> last;
  for (std::uint8_t b : bytes) {
    if (auto f = parser.Feed(b)) last = f;
  }
  return last;
}

const Frame kRequest = BuildRequest(0xD2, 0x14, std::vector<std::uint8_t>{1, 2, 3});

TEST(FrameParser, WorkingFrameAfterNoiseAndFalseStart) {
  FrameParser parser(Framing::Working);
  const WorkingFrame chars = EncodeWorking(kRequest);
  std::vector<std::uint8_t> stream{0x00, 0x3E, 0x3E, 0x41, 0x33};  // noise, a lone start, junk
  stream.insert(stream.end(), chars.begin(), chars.end());
  const auto frame = FeedAll(parser, stream);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(*frame, kRequest);
  EXPECT_FALSE(parser.InFrame());
}

TEST(FrameParser, WorkingParserIgnoresRawFrames) {
  FrameParser parser(Framing::Working);
  EXPECT_FALSE(FeedAll(parser, {kRequest.begin(), kRequest.end()}).has_value());
}

TEST(FrameParser, LoaderFrameStartsAtE7) {
  FrameParser parser(Framing::Loader);
  std::vector<std::uint8_t> stream{0x30, 0x31, 0x00};
  stream.insert(stream.end(), kRequest.begin(), kRequest.end());
  const auto frame = FeedAll(parser, stream);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(*frame, kRequest);
}

TEST(FrameParser, TwoFramesBackToBack) {
  FrameParser parser(Framing::Working);
  int frames = 0;
  for (int i = 0; i < 2; ++i)
    for (std::uint8_t c : EncodeWorking(kRequest))
      if (parser.Feed(c)) ++frames;
  EXPECT_EQ(frames, 2);
}

}  // namespace
}  // namespace rkvt::sim
