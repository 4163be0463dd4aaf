#pragma once

#include <cstddef>

namespace rkvt {

// A firmware image: five segments of 64 KiB, erased and written one by one.
inline constexpr std::size_t kImageSize = 0x50000;
inline constexpr std::size_t kSegmentSize = 0x10000;
inline constexpr std::size_t kSegmentCount = kImageSize / kSegmentSize;

}  // namespace rkvt
