#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rkvt::sim {

// The modem's firmware memory: five segments of 64 KiB that the erase steps
// blank and the write steps fill 24 bytes at a time. It records what a
// careful transfer would never do, so tests can read it.
class FlashMemory {
 public:
  static constexpr std::size_t kSegments = 5;
  static constexpr std::size_t kSegmentSize = 0x10000;
  static constexpr std::size_t kSize = kSegments * kSegmentSize;
  static constexpr std::size_t kBlockSize = 24;

  // The old firmware: a non-blank pattern, so an erase is visible.
  FlashMemory();

  void Erase(std::size_t segment);
  void Write(std::size_t segment, std::uint16_t offset, std::span<const std::uint8_t, kBlockSize> data);

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  bool Erased(std::size_t segment) const { return segment < kSegments && erased_[segment]; }
  int Erases(std::size_t segment) const { return segment < kSegments ? erases_[segment] : 0; }
  int Writes() const { return writes_; }
  // Blocks written into a segment that had not been erased before.
  int WritesToUnerased() const { return writesToUnerased_; }
  // Blocks whose offset runs past the end of the segment; the part that fits is written.
  int WritesPastSegment() const { return writesPastSegment_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::array<bool, kSegments> erased_{};
  std::array<int, kSegments> erases_{};
  int writes_ = 0;
  int writesToUnerased_ = 0;
  int writesPastSegment_ = 0;
};

}  // namespace rkvt::sim
