#include "sim/FrameParser.h"

#include <algorithm>

namespace rkvt::sim {

void FrameParser::SetFraming(Framing framing) {
  framing_ = framing;
  pending_.clear();
}

std::optional<Frame> FrameParser::Feed(std::uint8_t byte) {
  return framing_ == Framing::Loader ? FeedLoader(byte) : FeedWorking(byte);
}

std::optional<Frame> FrameParser::FeedLoader(std::uint8_t byte) {
  if (pending_.empty() && byte != kFrameStart) return std::nullopt;
  pending_.push_back(byte);
  if (pending_.size() < kFrameSize) return std::nullopt;
  Frame frame{};
  std::copy(pending_.begin(), pending_.end(), frame.begin());
  pending_.clear();
  return frame;
}

std::optional<Frame> FrameParser::FeedWorking(std::uint8_t byte) {
  const bool character = byte >= 0x30 && byte <= 0x3F;
  if (!character) {
    pending_.clear();
    return std::nullopt;
  }
  // A frame starts with the pair for 0xE7.
  if (pending_.empty() && byte != 0x3E) return std::nullopt;
  if (pending_.size() == 1 && byte != 0x37) {
    pending_.clear();
    if (byte == 0x3E) pending_.push_back(byte);
    return std::nullopt;
  }
  pending_.push_back(byte);
  if (pending_.size() < kWorkingFrameSize) return std::nullopt;
  WorkingFrame chars{};
  std::copy(pending_.begin(), pending_.end(), chars.begin());
  pending_.clear();
  return DecodeWorking(chars);
}

}  // namespace rkvt::sim
