#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rkvt::sim {

// How a written image is spoiled, for trying the program's checks.
enum class ImageBreak {
  None,
  AreaA,   // a content byte of area A changed after its checksum was made
  AreaB,
  AreaC,
  AreaD,
  Size,    // one byte short
  Marker,  // the version marker carries kind 2, so no marker is accepted
  Length,  // area B's length one over its bound
};

struct ImageRecipe {
  std::uint8_t major = 3;  // high four bits of the version byte
  std::uint8_t minor = 1;  // low four bits
  char third = '5';
  std::uint8_t kind = 6;
  // Content lengths, at most FirmwareImage::kAreaAMax and kAreaMax.
  std::uint32_t areaA = 100'000;
  std::uint16_t areaB = 40'000;
  std::uint16_t areaC = 20'000;
  std::uint16_t areaD = 300;
  ImageBreak spoil = ImageBreak::None;
};

// A firmware image file: areas A to D with their lengths and checksums, the
// version marker in area B; blank (0xFF) behind each area. Lengths over
// their bounds throw std::invalid_argument.
std::vector<std::uint8_t> BuildImage(const ImageRecipe& recipe);

// "3.15" -> major 3, minor 1, third '5'. The major and minor numbers may be
// 0 to 15; the third is one character.
bool ParseImageVersion(const std::string& text, ImageRecipe& recipe);
std::optional<ImageBreak> ParseImageBreak(const std::string& text);

}  // namespace rkvt::sim
