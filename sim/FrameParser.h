#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "link/Frame.h"

namespace rkvt::sim {

enum class Framing { Loader, Working };

// Cuts a received byte stream into request frames of one framing. Bytes that
// cannot start a frame are dropped, as a modem would drop line noise.
class FrameParser {
 public:
  explicit FrameParser(Framing framing) : framing_(framing) {}

  void SetFraming(Framing framing);
  Framing GetFraming() const { return framing_; }
  // Feeds one byte; returns a frame when this byte completed one.
  std::optional<Frame> Feed(std::uint8_t byte);
  // True while a frame has started but not ended.
  bool InFrame() const { return !pending_.empty(); }

 private:
  std::optional<Frame> FeedLoader(std::uint8_t byte);
  std::optional<Frame> FeedWorking(std::uint8_t byte);

  Framing framing_;
  std::vector<std::uint8_t> pending_;
};

}  // namespace rkvt::sim
