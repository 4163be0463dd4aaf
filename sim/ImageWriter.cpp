#include "sim/ImageWriter.h"

#include <stdexcept>

#include "link/FrameChecksum.h"

namespace rkvt::sim {

namespace {

constexpr std::size_t kAreaBases[] = {0x20000, 0x30000, 0x40000};

// Deterministic content that differs per area and per version, so two
// images never look alike by accident.
void FillContent(std::vector<std::uint8_t>& image, std::size_t from, std::size_t count, std::uint32_t seed) {
  std::uint32_t x = seed * 2654435761u + 1;
  for (std::size_t i = 0; i < count; ++i) {
    x = x * 1103515245u + 12345u;
    image[from + i] = static_cast<std::uint8_t>(x >> 16);
  }
}

void PutChecksum(std::vector<std::uint8_t>& image, std::size_t from, std::size_t count) {
  const std::uint16_t sum = FrameChecksum(std::span<const std::uint8_t>(image.data() + from, count));
  image[from + count] = static_cast<std::uint8_t>(sum >> 8);
  image[from + count + 1] = static_cast<std::uint8_t>(sum);
}

}  // namespace

std::vector<std::uint8_t> BuildImage(const ImageRecipe& recipe) {
  if (recipe.areaA > kAreaAMax || recipe.areaB > kAreaMax || recipe.areaC > kAreaMax || recipe.areaD > kAreaMax)
    throw std::invalid_argument("image area longer than its bound");
  if (recipe.areaB < kMarkerOffset - 0x20002 + 8) throw std::invalid_argument("area B too short for the marker");
  std::vector<std::uint8_t> image(kImageSize, 0xFF);
  const std::uint32_t seed = (recipe.major << 12) | (recipe.minor << 8) | static_cast<std::uint8_t>(recipe.third);

  // Area A: a free first byte, a 24-bit length, the content.
  image[0] = 0x5A;
  image[1] = static_cast<std::uint8_t>(recipe.areaA >> 16);
  image[2] = static_cast<std::uint8_t>(recipe.areaA >> 8);
  image[3] = static_cast<std::uint8_t>(recipe.areaA);
  FillContent(image, 4, recipe.areaA, seed);

  const std::uint16_t lengths[] = {recipe.areaB, recipe.areaC, recipe.areaD};
  for (int i = 0; i < 3; ++i) {
    const std::size_t base = kAreaBases[i];
    image[base] = static_cast<std::uint8_t>(lengths[i] >> 8);
    image[base + 1] = static_cast<std::uint8_t>(lengths[i]);
    FillContent(image, base + 2, lengths[i], seed + static_cast<std::uint32_t>(i) + 1);
  }
  const std::uint8_t marker[] = {'$', 'V', 'E', 'R', ':',
                                 recipe.spoil == ImageBreak::Marker ? std::uint8_t{2} : recipe.kind,
                                 static_cast<std::uint8_t>(((recipe.major & 0x0F) << 4) | (recipe.minor & 0x0F)),
                                 static_cast<std::uint8_t>(recipe.third)};
  std::copy(std::begin(marker), std::end(marker), image.begin() + kMarkerOffset);

  PutChecksum(image, 0, recipe.areaA + 4);
  for (int i = 0; i < 3; ++i) PutChecksum(image, kAreaBases[i], lengths[i] + 2u);

  switch (recipe.spoil) {
    case ImageBreak::AreaA: image[4 + recipe.areaA / 2] ^= 0x01; break;
    case ImageBreak::AreaB: image[0x20002 + recipe.areaB - 1] ^= 0x01; break;
    case ImageBreak::AreaC: image[0x30002 + recipe.areaC / 2] ^= 0x01; break;
    case ImageBreak::AreaD: image[0x40002 + recipe.areaD / 2] ^= 0x01; break;
    case ImageBreak::Size: image.pop_back(); break;
    case ImageBreak::Length: {
      const std::uint16_t over = kAreaMax + 1;
      image[0x20000] = static_cast<std::uint8_t>(over >> 8);
      image[0x20001] = static_cast<std::uint8_t>(over);
      break;
    }
    case ImageBreak::Marker:
    case ImageBreak::None: break;
  }
  return image;
}

bool ParseImageVersion(const std::string& text, ImageRecipe& recipe) {
  const auto dot = text.find('.');
  if (dot == std::string::npos || dot == 0 || text.size() < dot + 3) return false;
  int major = 0;
  for (std::size_t i = 0; i < dot; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    major = major * 10 + (text[i] - '0');
  }
  // The minor part is one digit 0-9 or a two-digit 10-15, then one character.
  const std::string rest = text.substr(dot + 1);
  int minor = -1;
  std::size_t used = 0;
  if (rest.size() == 3 && rest[0] == '1' && rest[1] >= '0' && rest[1] <= '5') {
    minor = 10 + (rest[1] - '0');
    used = 2;
  } else if (rest.size() == 2 && rest[0] >= '0' && rest[0] <= '9') {
    minor = rest[0] - '0';
    used = 1;
  }
  if (major > 15 || minor < 0 || rest.size() != used + 1) return false;
  recipe.major = static_cast<std::uint8_t>(major);
  recipe.minor = static_cast<std::uint8_t>(minor);
  recipe.third = rest[used];
  return true;
}

std::optional<ImageBreak> ParseImageBreak(const std::string& text) {
  static const std::pair<const char*, ImageBreak> kNames[] = {
      {"A", ImageBreak::AreaA},   {"B", ImageBreak::AreaB},           {"C", ImageBreak::AreaC},
      {"D", ImageBreak::AreaD},   {"size", ImageBreak::Size},         {"marker", ImageBreak::Marker},
      {"length", ImageBreak::Length}, {"none", ImageBreak::None},
  };
  for (const auto& [name, value] : kNames)
    if (text == name) return value;
  return std::nullopt;
}

}  // namespace rkvt::sim
