#include "firmware/ImageChecksums.h"

#include "link/FrameChecksum.h"

namespace rkvt {
namespace {

constexpr std::size_t kMaxLengthA = 0x1FFFA;
constexpr std::size_t kMaxLengthBcd = 0xFFFC;
constexpr std::size_t kAreaBases[] = {0x20000, 0x30000, 0x40000};

// The bounds keep every area, checksum included, inside its own segments.
static_assert(1 + 3 + kMaxLengthA + 2 == kAreaBases[0]);
static_assert(kAreaBases[2] + 2 + kMaxLengthBcd + 2 == kImageSize);

std::uint16_t BigEndian16(ImageBytes image, std::size_t at) {
  return static_cast<std::uint16_t>(image[at] << 8 | image[at + 1]);
}

// `covered` bytes from `start`, then the stored checksum right behind them.
bool AreaIntact(ImageBytes image, std::size_t start, std::size_t covered) {
  return FrameChecksum(image.subspan(start, covered)) == BigEndian16(image, start + covered);
}

}  // namespace

bool CheckImageChecksums(ImageBytes image) {
  const std::size_t lengthA = std::size_t{image[1]} << 16 | std::size_t{image[2]} << 8 | image[3];
  if (lengthA > kMaxLengthA || !AreaIntact(image, 0, lengthA + 4)) return false;

  for (std::size_t base : kAreaBases) {
    const std::size_t length = BigEndian16(image, base);
    if (length > kMaxLengthBcd || !AreaIntact(image, base, length + 2)) return false;
  }
  return true;
}

}  // namespace rkvt
