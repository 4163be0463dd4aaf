#include "link/FrameChecksum.h"

#include <array>

namespace rkvt {

namespace {

// Eight steps of shift-then-test for one value.
constexpr std::uint16_t EightSteps(std::uint16_t value) {
  for (int bit = 0; bit < 8; ++bit) {
    value = static_cast<std::uint16_t>(value << 1);
    if (value & 0x8000) value ^= 0x1021;
  }
  return value;
}

// Each step is linear over the bits, so eight of them on any value are the
// steps on its high byte XOR the steps on its low byte: two tables instead
// of a loop per bit (an image check runs this over 320 KiB).
constexpr std::array<std::uint16_t, 256> Table(int shift) {
  std::array<std::uint16_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = EightSteps(static_cast<std::uint16_t>(i << shift));
  return table;
}
constexpr auto kHigh = Table(8);
constexpr auto kLow = Table(0);
static_assert((kHigh[0x12] ^ kLow[0x34]) == EightSteps(0x1234), "the steps must split by byte");

}  // namespace

std::uint16_t FrameChecksum(std::span<const std::uint8_t> bytes) {
  std::uint16_t value = 0;
  for (std::uint8_t byte : bytes) {
    value ^= static_cast<std::uint16_t>(byte << 8);
    value = kHigh[value >> 8] ^ kLow[value & 0xFF];
  }
  return value;
}

}  // namespace rkvt
