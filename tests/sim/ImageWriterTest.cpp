#include <gtest/gtest.h>

#include <stdexcept>

#include "FrameChecksum.h"
#include "ImageWriter.h"

namespace rkvt::sim {
namespace {

std::uint32_t Big(const std::vector<std::uint8_t>& image, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | image[at + i];
  return v;
}

// Each area checked on its own, the way a reader of the file checks it.
bool AreaA(const std::vector<std::uint8_t>& image) {
  const std::uint32_t n = Big(image, 1, 3);
  if (n > 131066) return false;
  return FrameChecksum(std::span(image.data(), n + 4)) == Big(image, n + 4, 2);
}

bool AreaAt(const std::vector<std::uint8_t>& image, std::size_t base) {
  const std::uint32_t l = Big(image, base, 2);
  if (l > 65532) return false;
  return FrameChecksum(std::span(image.data() + base, l + 2)) == Big(image, base + l + 2, 2);
}

std::vector<bool> Areas(const std::vector<std::uint8_t>& image) {
  return {AreaA(image), AreaAt(image, 0x20000), AreaAt(image, 0x30000), AreaAt(image, 0x40000)};
}

// Offsets of "$VER:" followed by kind 1, 6 or 7 within area B's content.
std::vector<std::size_t> Markers(const std::vector<std::uint8_t>& image) {
  std::vector<std::size_t> found;
  const std::size_t end = 0x20002 + Big(image, 0x20000, 2);
  const std::uint8_t tag[] = {'$', 'V', 'E', 'R', ':'};
  for (std::size_t i = 0x20002; i < end; ++i) {
    if (std::equal(std::begin(tag), std::end(tag), image.begin() + i)) {
      const std::uint8_t kind = image[i + 5];
      if (kind == 1 || kind == 6 || kind == 7) found.push_back(i);
    }
  }
  return found;
}

TEST(ImageWriter, ValidImageHasFourGoodAreasAndOneMarker) {
  ImageRecipe recipe;
  ASSERT_TRUE(ParseImageVersion("3.15", recipe));
  const auto image = BuildImage(recipe);
  ASSERT_EQ(image.size(), 327680u);
  EXPECT_EQ(Areas(image), (std::vector<bool>{true, true, true, true}));
  const auto markers = Markers(image);
  ASSERT_EQ(markers.size(), 1u);
  EXPECT_EQ(image[markers[0] + 5], 6) << "kind";
  EXPECT_EQ(image[markers[0] + 6], 0x31) << "version byte";
  EXPECT_EQ(image[markers[0] + 7], '5');
  // Behind each area's checksum the memory is blank, so a transfer skips it.
  EXPECT_EQ(image[4 + recipe.areaA + 2], 0xFF);
  EXPECT_EQ(image[0x1FFFF], 0xFF);
  EXPECT_EQ(image[0x40002 + recipe.areaD + 2], 0xFF);
  EXPECT_EQ(image.back(), 0xFF);
}

TEST(ImageWriter, LongestAreasEndExactlyAtTheirSegmentEnds) {
  const auto image = BuildImage({.areaA = kAreaAMax, .areaB = kAreaMax, .areaC = kAreaMax, .areaD = kAreaMax});
  EXPECT_EQ(Areas(image), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(Big(image, 0x1FFFE, 2), FrameChecksum(std::span(image.data(), kAreaAMax + 4)));
  EXPECT_THROW(BuildImage({.areaA = kAreaAMax + 1}), std::invalid_argument);
  EXPECT_THROW(BuildImage({.areaC = kAreaMax + 1}), std::invalid_argument);
}

struct BreakCase {
  const char* name;
  ImageBreak spoil;
  std::vector<bool> areas;
  std::size_t size;
  std::size_t markers;
};

class Spoiled : public ::testing::TestWithParam<BreakCase> {};

TEST_P(Spoiled, BreaksExactlyWhatItSays) {
  const auto image = BuildImage({.spoil = GetParam().spoil});
  ASSERT_EQ(image.size(), GetParam().size);
  std::vector<std::uint8_t> padded = image;
  padded.resize(327680 + 8, 0);
  EXPECT_EQ(Areas(padded), GetParam().areas);
  if (GetParam().spoil != ImageBreak::Length) {
    EXPECT_EQ(Markers(padded).size(), GetParam().markers);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryBreak, Spoiled,
    ::testing::Values(BreakCase{"AreaA", ImageBreak::AreaA, {false, true, true, true}, 327680, 1},
                      BreakCase{"AreaB", ImageBreak::AreaB, {true, false, true, true}, 327680, 1},
                      BreakCase{"AreaC", ImageBreak::AreaC, {true, true, false, true}, 327680, 1},
                      BreakCase{"AreaD", ImageBreak::AreaD, {true, true, true, false}, 327680, 1},
                      BreakCase{"Length", ImageBreak::Length, {true, false, true, true}, 327680, 0},
                      BreakCase{"Marker", ImageBreak::Marker, {true, true, true, true}, 327680, 0},
                      BreakCase{"Size", ImageBreak::Size, {true, true, true, true}, 327679, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageWriter, MarkerBreakLeavesAKindTwoMarkerInPlace) {
  const auto image = BuildImage({.spoil = ImageBreak::Marker});
  EXPECT_EQ(image[kMarkerOffset], '$');
  EXPECT_EQ(image[kMarkerOffset + 5], 2);
}

struct VersionCase {
  const char* text;
  bool valid;
  int major, minor;
  char third;
};

TEST(ImageVersion, ParsesMajorMinorAndTheThirdCharacter) {
  const VersionCase cases[] = {
      {"3.15", true, 3, 1, '5'}, {"0.00", true, 0, 0, '0'}, {"7.02", true, 7, 0, '2'},
      {"1.105", true, 1, 10, '5'}, {"15.159", true, 15, 15, '9'}, {"2.2x", true, 2, 2, 'x'},
      {"3.1", false}, {"16.15", false}, {"3.165", false}, {".15", false}, {"a.15", false}, {"315", false},
  };
  for (const auto& c : cases) {
    ImageRecipe recipe;
    ASSERT_EQ(ParseImageVersion(c.text, recipe), c.valid) << c.text;
    if (!c.valid) continue;
    EXPECT_EQ(recipe.major, c.major) << c.text;
    EXPECT_EQ(recipe.minor, c.minor) << c.text;
    EXPECT_EQ(recipe.third, c.third) << c.text;
  }
}

}  // namespace
}  // namespace rkvt::sim
