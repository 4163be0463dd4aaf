#include <gtest/gtest.h>

#include <stdexcept>

#include "link/FrameChecksum.h"
#include "sim/ImageWriter.h"

namespace rkvt::sim {
namespace {

using Image = std::vector<std::uint8_t>;

std::uint32_t Big(const Image& image, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | image[at + i];
  return v;
}

// Each area checked on its own, the way a reader of the file checks it: the
// letters of the good areas, '-' for a bad one. Area A has a 3-byte length
// from byte 1, the others a 2-byte length at their segment's start; the
// checksum behind the content covers the length and the content.
std::string Areas(const Image& image) {
  std::string good;
  for (const std::size_t base : {0u, 0x20000u, 0x30000u, 0x40000u}) {
    const std::size_t head = base ? 2 : 4;
    const std::uint32_t l = base ? Big(image, base, 2) : Big(image, 1, 3);
    const bool ok = l <= (base ? kAreaMax : kAreaAMax) &&
                    FrameChecksum(std::span(image.data() + base, l + head)) == Big(image, base + l + head, 2);
    good += ok ? "ABCD"[good.size()] : '-';
  }
  return good;
}

// Offsets of "$VER:" followed by kind 1, 6 or 7 within area B's content.
std::vector<std::size_t> Markers(const Image& image) {
  std::vector<std::size_t> found;
  const std::string_view tag = "$VER:";
  for (std::size_t i = 0x20002; i < 0x20002 + Big(image, 0x20000, 2); ++i) {
    const std::uint8_t kind = image[i + 5];
    if (std::equal(tag.begin(), tag.end(), image.begin() + i) && (kind == 1 || kind == 6 || kind == 7)) found.push_back(i);
  }
  return found;
}

TEST(ImageWriter, ValidImageHasFourGoodAreasOneMarkerAndBlanksBehindEachArea) {
  const ImageRecipe recipe;  // version 3.15
  const Image image = BuildImage(recipe);
  ASSERT_EQ(image.size(), 327680u);
  EXPECT_EQ(Areas(image), "ABCD");
  EXPECT_EQ(Markers(image), std::vector<std::size_t>{kMarkerOffset});
  EXPECT_EQ(Image(image.begin() + kMarkerOffset + 5, image.begin() + kMarkerOffset + 8), (Image{6, 0x31, '5'}));
  // Blank behind each area's checksum, so a transfer skips it.
  for (std::size_t at : std::initializer_list<std::size_t>{4 + recipe.areaA + 2, 0x1FFFF, 0x40002u + recipe.areaD + 2, kImageSize - 1})
    EXPECT_EQ(image[at], 0xFF) << at;

  const Image longest = BuildImage({.areaA = kAreaAMax, .areaB = kAreaMax, .areaC = kAreaMax, .areaD = kAreaMax});
  EXPECT_EQ(Areas(longest), "ABCD");
  EXPECT_EQ(Big(longest, 0x1FFFE, 2), FrameChecksum(std::span(longest.data(), kAreaAMax + 4))) << "ends at 0x1FFFF";
  EXPECT_THROW(BuildImage({.areaA = kAreaAMax + 1}), std::invalid_argument);
  EXPECT_THROW(BuildImage({.areaC = kAreaMax + 1}), std::invalid_argument);
}

TEST(ImageWriter, EachBreakSpoilsExactlyWhatItSays) {
  // The break, the good areas, the size and the markers found.
  const std::tuple<ImageBreak, const char*, std::size_t, std::size_t> cases[] = {
      {ImageBreak::AreaA, "-BCD", 327680, 1}, {ImageBreak::AreaB, "A-CD", 327680, 1},
      {ImageBreak::AreaC, "AB-D", 327680, 1}, {ImageBreak::AreaD, "ABC-", 327680, 1},
      {ImageBreak::Length, "A-CD", 327680, 1}, {ImageBreak::Marker, "ABCD", 327680, 0},
      {ImageBreak::Size, "ABCD", 327679, 1},
  };
  for (const auto& [spoil, areas, size, markers] : cases) {
    Image image = BuildImage({.spoil = spoil});
    ASSERT_EQ(image.size(), size);
    image.resize(327680 + 8, 0);
    EXPECT_EQ(std::tuple(Areas(image), Markers(image).size()), std::tuple(areas, markers)) << int(spoil);
  }
  const Image marker = BuildImage({.spoil = ImageBreak::Marker});
  EXPECT_EQ(Image(marker.begin() + kMarkerOffset, marker.begin() + kMarkerOffset + 6), (Image{'$', 'V', 'E', 'R', ':', 2}));
}

TEST(ImageVersion, ParsesMajorMinorAndTheThirdCharacter) {
  // Text, then major, minor and third, or nothing for text that is refused.
  const std::pair<const char*, std::optional<std::tuple<int, int, char>>> cases[] = {
      {"3.15", {{3, 1, '5'}}},     {"0.00", {{0, 0, '0'}}}, {"7.02", {{7, 0, '2'}}}, {"1.105", {{1, 10, '5'}}},
      {"15.159", {{15, 15, '9'}}}, {"2.2x", {{2, 2, 'x'}}}, {"3.1", {}},  {"16.15", {}}, {"3.165", {}},
      {".15", {}},                 {"a.15", {}},            {"315", {}},
  };
  for (const auto& [text, expected] : cases) {
    ImageRecipe r;
    const bool valid = ParseImageVersion(text, r);
    EXPECT_EQ(valid ? std::optional(std::tuple(int(r.major), int(r.minor), r.third)) : std::nullopt, expected) << text;
  }
}

}  // namespace
}  // namespace rkvt::sim
