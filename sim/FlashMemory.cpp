#include "sim/FlashMemory.h"

#include <algorithm>

namespace rkvt::sim {

FlashMemory::FlashMemory() : bytes_(kSize) {
  for (std::size_t i = 0; i < kSize; ++i) bytes_[i] = static_cast<std::uint8_t>(i * 7 + (i >> 16));
}

void FlashMemory::Erase(std::size_t segment) {
  if (segment >= kSegments) return;
  const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(segment * kSegmentSize);
  std::fill(begin, begin + kSegmentSize, 0xFF);
  erased_[segment] = true;
  ++erases_[segment];
}

void FlashMemory::Write(std::size_t segment, std::uint16_t offset, std::span<const std::uint8_t, kBlockSize> data) {
  if (segment >= kSegments) return;
  ++writes_;
  if (!erased_[segment]) ++writesToUnerased_;
  std::size_t count = kBlockSize;
  if (offset + kBlockSize > kSegmentSize) {
    ++writesPastSegment_;
    count = kSegmentSize - offset;
  }
  std::copy_n(data.begin(), count, bytes_.begin() + static_cast<std::ptrdiff_t>(segment * kSegmentSize + offset));
}

}  // namespace rkvt::sim
