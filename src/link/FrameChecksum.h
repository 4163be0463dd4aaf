#pragma once

#include <cstdint>
#include <span>

namespace rkvt {

// The link's own 16-bit checksum. It looks like CRC-16 with polynomial 0x1021,
// but the feedback bit is tested after the shift, so it is not CRC-16/XMODEM.
// The modem computes the same function; so do the firmware image areas.
std::uint16_t FrameChecksum(std::span<const std::uint8_t> bytes);

}  // namespace rkvt
