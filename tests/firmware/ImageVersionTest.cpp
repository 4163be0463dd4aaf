#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ImageVersion.h"
#include "TestImage.h"

namespace rkvt {
namespace {

using test::Area;
using test::TestImage;

struct TextCase {
  std::uint8_t versionByte;
  std::uint8_t character;
  const char* text;
  int number;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.text; }

class ImageVersionText : public testing::TestWithParam<TextCase> {};

TEST_P(ImageVersionText, TextAndNumber) {
  const TextCase c = GetParam();
  TestImage image;
  image.PutMarker(TestImage::kMarkerOffset, 6, c.versionByte, c.character);

  const ImageVersion version = FindImageVersion(image.Span());
  ASSERT_TRUE(version.found);
  EXPECT_EQ(version.kind, 6);
  EXPECT_EQ(version.major, c.versionByte >> 4);
  EXPECT_EQ(version.minor, c.versionByte & 0x0F);
  EXPECT_EQ(version.character, c.character);
  EXPECT_EQ(version.text, QString(c.text));
  EXPECT_EQ(version.Number(), c.number);
}

INSTANTIATE_TEST_SUITE_P(Bytes, ImageVersionText,
                         testing::Values(TextCase{0x31, '5', "3.15", 315}, TextCase{0x31, '6', "3.16", 316},
                                         TextCase{0x00, '0', "0.00", 0}, TextCase{0x70, '2', "7.02", 702},
                                         TextCase{0xA5, '0', "10.50", 1050}, TextCase{0x3F, '9', "3.159", 459},
                                         TextCase{0xFF, '9', "15.159", 1659},
                                         // Not a digit: the number still follows the code, the text shows '?'.
                                         TextCase{0x31, 0x07, "3.1?", 269}, TextCase{0x31, 'A', "3.1A", 327}));

class ImageVersionKind : public testing::TestWithParam<int> {};

TEST_P(ImageVersionKind, OnlyKinds1_6_7AreMarkers) {
  const int kind = GetParam();
  TestImage image;
  image.PutMarker(TestImage::kMarkerOffset, static_cast<std::uint8_t>(kind), 0x31, '5');

  const ImageVersion version = FindImageVersion(image.Span());
  const bool accepted = kind == 1 || kind == 6 || kind == 7;
  EXPECT_EQ(version.found, accepted);
  EXPECT_EQ(version.text, accepted ? QString("3.15") : QString());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ImageVersionKind, testing::Values(0, 1, 2, 3, 5, 6, 7, 8, 0x31, 0xFF));

struct ScanCase {
  const char* name;
  std::size_t lengthB;
  std::size_t offset;        // into area B's content
  std::vector<std::uint8_t> bytes;
  const char* text;          // "" = not found
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

class ImageVersionScan : public testing::TestWithParam<ScanCase> {};

TEST_P(ImageVersionScan, FirstAcceptedMarker) {
  const ScanCase& c = GetParam();
  TestImage image;
  image.RemoveMarker().SetLength(Area::B, static_cast<std::uint32_t>(c.lengthB));
  std::size_t at = test::AreaStart(Area::B) + 2 + c.offset;
  for (std::uint8_t byte : c.bytes) image.Bytes()[at++] = byte;

  const ImageVersion version = FindImageVersion(image.Span());
  EXPECT_EQ(version.found, *c.text != '\0');
  EXPECT_EQ(version.text, QString(c.text));
}

std::vector<std::uint8_t> Marker(std::uint8_t kind, std::uint8_t versionByte, std::uint8_t character) {
  return {'$', 'V', 'E', 'R', ':', kind, versionByte, character};
}

std::vector<std::uint8_t> Join(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<std::uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageVersionScan,
    testing::Values(
        ScanCase{"Kind2SkippedForLaterMarker", 0x400, 0x20, Join(Marker(2, 0x11, '1'), Marker(6, 0x61, '3')), "6.13"},
        ScanCase{"FirstAcceptedWins", 0x400, 0x20, Join(Marker(7, 0x70, '2'), Marker(1, 0x31, '5')), "7.02"},
        ScanCase{"DoubledDollar", 0x400, 0x20, Join(Text("$"), Marker(1, 0x31, '5')), "3.15"},
        ScanCase{"BrokenMarkerThenMarker", 0x400, 0x20, Join(Text("$VE"), Marker(7, 0x72, '0')), "7.20"},
        ScanCase{"KindByteStartsNextMarker", 0x400, 0x20, Join(Text("$VER:"), Marker(1, 0x22, '1')), "2.21"},
        ScanCase{"LowerCaseIsNoMarker", 0x400, 0x20, Text("$ver:\x01\x31" "5"), ""},
        ScanCase{"StartsAtLastContentByte", 0x41, 0x40, Marker(1, 0x31, '5'), "3.15"},
        ScanCase{"StartsBehindContent", 0x40, 0x40, Marker(1, 0x31, '5'), ""},
        ScanCase{"EmptyContent", 0, 0, Marker(1, 0x31, '5'), ""},
        ScanCase{"SkippedKindThenLastContentByte", 0x49, 0x40, Join(Marker(2, 0x31, '5'), Marker(1, 0x40, '0')), "4.00"},
        ScanCase{"SkippedKindThenBehindContent", 0x48, 0x40, Join(Marker(2, 0x31, '5'), Marker(1, 0x40, '0')), ""},
        ScanCase{"LongestContent", 0xFFFC, 0xFFFB, Marker(7, 0x75, '1'), "7.51"}),
    [](const testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

TEST(ImageVersion, MarkerOutsideAreaB_NotFound) {
  TestImage image;
  image.RemoveMarker();
  for (std::size_t at : {std::size_t{0x100}, std::size_t{0x30010}, std::size_t{0x40010}})
    image.Put(at, {'$', 'V', 'E', 'R', ':', 1, 0x31, '5'});
  EXPECT_FALSE(FindImageVersion(image.Span()).found);
}

}  // namespace
}  // namespace rkvt
