#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "firmware/ImageChecksums.h"
#include "firmware/ImageVersion.h"
#include "sim/FirmwareImage.h"

namespace rkvt {
namespace {

using Area = sim::ImageArea;
using TestImage = sim::FirmwareImage;

// --- Checksums --------------------------------------------------------------

// Every other area stays sealed as laid out, so a refusal can only come from the length bound.
TEST(ImageChecksums, LengthOnlyTheBoundDecides) {
  const std::tuple<Area, std::uint32_t, bool> cases[] = {
      {Area::A, 0, true},       {Area::A, 131066, true}, {Area::A, 131067, false}, {Area::A, 0xFFFFFF, false},
      {Area::B, 0, true},       {Area::B, 65532, true},  {Area::B, 65533, false},  {Area::B, 0xFFFF, false},
      {Area::C, 65532, true},   {Area::C, 65533, false}, {Area::D, 65532, true},   {Area::D, 65533, false}};
  for (const auto& [area, length, accepted] : cases) {
    TestImage image;
    image.SetLength(area, length).SealAll();  // a long area's checksum may spill into the next length field
    for (Area other : sim::kImageAreas) {
      ASSERT_TRUE(other == area || image.Sealed(other)) << length;
      ASSERT_TRUE(other == area || image.Length(other) <= (other == Area::A ? 0x1FFFAu : 0xFFFCu)) << length;
    }
    ASSERT_TRUE(image.ChecksumAt(area) + 1 >= TestImage::kSize || image.Sealed(area)) << length;
    EXPECT_EQ(CheckImageChecksums(image.Span()), accepted) << "ABCD"[int(area)] << " length " << length;
  }
}

// Any flipped bit from the area's first byte through its checksum fails; the byte behind does not.
TEST(ImageChecksums, FlippedByteFailsOnlyInsideAreaOrChecksum) {
  EXPECT_TRUE(CheckImageChecksums(TestImage().Span()));
  for (Area area : sim::kImageAreas) {
    const std::size_t sum = TestImage().ChecksumAt(area), start = TestImage::AreaStart(area);
    for (std::size_t at : {start, start + (area == Area::A ? 4 : 2), sum - 1, sum, sum + 1, sum + 2}) {
      TestImage image;
      image.Bytes()[at] ^= 0x01;
      EXPECT_EQ(CheckImageChecksums(image.Span()), at == sum + 2) << "ABCD"[int(area)] << " at " << at - start;
    }
  }
}

// --- Version ----------------------------------------------------------------

TEST(ImageVersion, TextAndNumber) {
  const std::tuple<std::uint8_t, std::uint8_t, const char*, int> cases[] = {
      {0x31, '5', "3.15", 315}, {0x00, '0', "0.00", 0}, {0x70, '2', "7.02", 702}, {0xA5, '0', "10.50", 1050},
      {0x3F, '9', "3.159", 459}, {0xFF, '9', "15.159", 1659},
      // Not a digit: the number still follows the code, the text shows '?' for a control byte.
      {0x31, 0x07, "3.1?", 269}, {0x31, 'A', "3.1A", 327}};
  for (const auto& [versionByte, character, text, number] : cases) {
    const ImageVersion version =
        FindImageVersion(TestImage().PutMarker(TestImage::kMarkerOffset, 6, versionByte, character).Span());
    ASSERT_TRUE(version.found) << text;
    EXPECT_EQ(version.kind, 6);
    EXPECT_EQ(version.character, character);
    EXPECT_EQ(version.text, QString(text));
    EXPECT_EQ(version.Number(), number) << text;
  }
}

TEST(ImageVersion, OnlyKindsOneSixAndSevenAreMarkers) {
  for (const int kind : {0, 1, 2, 3, 5, 6, 7, 8, 0x31, 0xFF}) {
    const bool accepted = kind == 1 || kind == 6 || kind == 7;
    const ImageVersion version =
        FindImageVersion(TestImage().PutMarker(TestImage::kMarkerOffset, kind, 0x31, '5').Span());
    EXPECT_EQ(version.found, accepted) << kind;
    EXPECT_EQ(version.text, accepted ? QString("3.15") : QString()) << kind;
  }
}

TEST(ImageVersion, MarkerOutsideAreaBNotFound) {
  TestImage image;
  image.RemoveMarker();
  for (std::size_t at : {0x100, 0x30010, 0x40010}) image.Put(at, {'$', 'V', 'E', 'R', ':', 1, 0x31, '5'});
  EXPECT_FALSE(FindImageVersion(image.Span()).found);
}

std::string Marker(char kind, char versionByte, char character) {
  return std::string("$VER:") + kind + versionByte + character;
}

TEST(ImageVersion, ScanFirstAcceptedMarkerStartingInsideAreaBContent) {
  struct {
    const char* name;
    std::size_t lengthB, offset;  // offset into area B's content
    std::string bytes;
    const char* text;  // "" = not found
  } const cases[] = {
      {"Kind2SkippedForLaterMarker", 0x400, 0x20, Marker(2, 0x11, '1') + Marker(6, 0x61, '3'), "6.13"},
      {"FirstAcceptedWins", 0x400, 0x20, Marker(7, 0x70, '2') + Marker(1, 0x31, '5'), "7.02"},
      {"DoubledDollar", 0x400, 0x20, "$" + Marker(1, 0x31, '5'), "3.15"},
      {"BrokenMarkerThenMarker", 0x400, 0x20, "$VE" + Marker(7, 0x72, '0'), "7.20"},
      {"KindByteStartsNextMarker", 0x400, 0x20, "$VER:" + Marker(1, 0x22, '1'), "2.21"},
      {"LowerCaseIsNoMarker", 0x400, 0x20, "$ver:\x01\x31" "5", ""},
      {"StartsAtLastContentByte", 0x41, 0x40, Marker(1, 0x31, '5'), "3.15"},
      {"StartsBehindContent", 0x40, 0x40, Marker(1, 0x31, '5'), ""},
      {"EmptyContent", 0, 0, Marker(1, 0x31, '5'), ""},
      {"SkippedKindThenLastContentByte", 0x49, 0x40, Marker(2, 0x31, '5') + Marker(1, 0x40, '0'), "4.00"},
      {"SkippedKindThenBehindContent", 0x48, 0x40, Marker(2, 0x31, '5') + Marker(1, 0x40, '0'), ""},
      {"LongestContent", 0xFFFC, 0xFFFB, Marker(7, 0x75, '1'), "7.51"}};
  for (const auto& c : cases) {
    TestImage image;
    image.RemoveMarker().SetLength(Area::B, std::uint32_t(c.lengthB));
    std::copy(c.bytes.begin(), c.bytes.end(), image.Bytes().begin() + std::ptrdiff_t(0x20002 + c.offset));
    const ImageVersion version = FindImageVersion(image.Span());
    EXPECT_EQ(version.found, *c.text != '\0') << c.name;
    EXPECT_EQ(version.text, QString(c.text)) << c.name;
  }
}

}  // namespace
}  // namespace rkvt
