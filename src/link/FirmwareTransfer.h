#pragma once

#include <cstddef>
#include <cstdint>

#include "link/CommandContext.h"
#include "link/ImageGeometry.h"

namespace rkvt {

// Regular blocks start every 24 bytes up to 65496; one more block at 65512
// covers the last 24 bytes of the segment (its first 8 bytes repeat).
inline constexpr std::uint16_t kLastRegularOffset = 65496;
inline constexpr std::uint16_t kFinalBlockOffset = 0xFFE8;

// Progress after the block at the given offset of a segment, 0..99.
int BlockProgress(std::size_t segment, std::size_t offset);

// Worker commands 5 and 6: erase and write the whole image in ctx.image.
std::uint8_t UpdateViaLoader(CommandContext& ctx);
std::uint8_t UpdateViaFirmware(CommandContext& ctx);

}  // namespace rkvt
