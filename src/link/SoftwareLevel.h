#pragma once

#include <cstdint>

namespace rkvt {

// Ordinal of modem type and firmware version: 0 not supported, 1..17 working
// firmware, 21..23 loaders. Other parts compare it with thresholds.
// versionByte holds the major digit in bits 4-7 and the minor in bits 0-3;
// third is the last version character, normally an ASCII digit.
// From this level on, the state pages have the second generation's layout
// (two interface slots) and the first statistics page is sub-code 7.
inline constexpr std::int32_t kSecondGenerationLevel = 7;

std::int32_t SoftwareLevel(std::uint8_t type, std::uint8_t versionByte, std::uint8_t third);

}  // namespace rkvt
