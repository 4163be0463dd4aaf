#include "sim/ImageWriter.h"

#include <stdexcept>

#include "sim/FirmwareImage.h"

namespace rkvt::sim {

std::vector<std::uint8_t> BuildImage(const ImageRecipe& recipe) {
  using Image = FirmwareImage;
  if (recipe.areaA > Image::kAreaAMax || recipe.areaB > Image::kAreaMax || recipe.areaC > Image::kAreaMax ||
      recipe.areaD > Image::kAreaMax)
    throw std::invalid_argument("image area longer than its bound");
  if (recipe.areaB < Image::kMarkerOffset + 8) throw std::invalid_argument("area B too short for the marker");
  // Content that differs per version, so two images never look alike by accident.
  FirmwareImage image((recipe.major << 12) | (recipe.minor << 8) | static_cast<std::uint8_t>(recipe.third));
  const std::uint8_t kind = recipe.spoil == ImageBreak::Marker ? 2 : recipe.kind;
  image.SetLength(ImageArea::A, recipe.areaA).SetLength(ImageArea::B, recipe.areaB);
  image.SetLength(ImageArea::C, recipe.areaC).SetLength(ImageArea::D, recipe.areaD);
  image.PutMarker(Image::kMarkerOffset, kind, std::uint8_t((recipe.major & 0x0F) << 4 | (recipe.minor & 0x0F)),
                  static_cast<std::uint8_t>(recipe.third));
  image.SealAll().BlankOutsideAreas();

  std::vector<std::uint8_t>& bytes = image.Bytes();
  switch (recipe.spoil) {
    case ImageBreak::AreaA:
    case ImageBreak::AreaB:
    case ImageBreak::AreaC:
    case ImageBreak::AreaD: {  // the area's last covered byte
      const auto area = static_cast<ImageArea>(static_cast<int>(recipe.spoil) - static_cast<int>(ImageBreak::AreaA));
      bytes[image.ChecksumAt(area) - 1] ^= 0x01;
      break;
    }
    case ImageBreak::Size: bytes.pop_back(); break;
    case ImageBreak::Length: image.SetLength(ImageArea::B, Image::kAreaMax + 1); break;
    case ImageBreak::Marker:
    case ImageBreak::None: break;
  }
  return std::move(bytes);
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
