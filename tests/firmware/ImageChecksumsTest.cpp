#include <gtest/gtest.h>

#include "ImageChecksums.h"
#include "TestImage.h"

namespace rkvt {
namespace {

using test::Area;
using test::TestImage;

TEST(ImageChecksums, BuiltImage_Passes) { EXPECT_TRUE(CheckImageChecksums(TestImage().Span())); }

struct LengthCase {
  Area area;
  std::uint32_t length;
  bool accepted;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
  test::PrintTo(c.area, os);
  *os << " length " << c.length;
}

class ImageChecksumsLength : public testing::TestWithParam<LengthCase> {};

// Every area is sealed as laid out, so a refusal can only come from the length bound.
TEST_P(ImageChecksumsLength, OnlyTheBoundDecides) {
  const auto [area, length, accepted] = GetParam();
  TestImage image;
  image.SetLength(area, length).SealAll();  // a long area's checksum may spill into the next length field

  for (Area other : {Area::A, Area::B, Area::C, Area::D}) {
    if (other == area) continue;
    ASSERT_TRUE(image.Sealed(other));
    ASSERT_LE(image.Length(other), other == Area::A ? 0x1FFFAu : 0xFFFCu);
  }
  if (image.ChecksumAt(area) + 1 < test::kImageBytes) {
    ASSERT_TRUE(image.Sealed(area));
  }

  EXPECT_EQ(CheckImageChecksums(image.Span()), accepted);
}

INSTANTIATE_TEST_SUITE_P(Bounds, ImageChecksumsLength,
                         testing::Values(LengthCase{Area::A, 0, true}, LengthCase{Area::A, 131066, true},
                                         LengthCase{Area::A, 131067, false}, LengthCase{Area::A, 0xFFFFFF, false},
                                         LengthCase{Area::B, 0, true}, LengthCase{Area::B, 65532, true},
                                         LengthCase{Area::B, 65533, false}, LengthCase{Area::B, 0xFFFF, false},
                                         LengthCase{Area::C, 65532, true}, LengthCase{Area::C, 65533, false},
                                         LengthCase{Area::D, 65532, true}, LengthCase{Area::D, 65533, false},
                                         LengthCase{Area::D, 0xFFFF, false}));

enum class Spot { AreaStart, FirstContent, LastCovered, ChecksumHigh, ChecksumLow, BehindChecksum };

struct DamageCase {
  Area area;
  Spot spot;
  bool passes;
};

void PrintTo(const DamageCase& c, std::ostream* os) {
  test::PrintTo(c.area, os);
  *os << " spot " << static_cast<int>(c.spot);
}

class ImageChecksumsDamage : public testing::TestWithParam<DamageCase> {};

TEST_P(ImageChecksumsDamage, FlippedByte) {
  const auto [area, spot, passes] = GetParam();
  TestImage image;
  const std::size_t start = test::AreaStart(area);
  const std::size_t at = [&, spot = spot, area = area] {
    switch (spot) {
      case Spot::AreaStart: return start;
      case Spot::FirstContent: return start + (area == Area::A ? 4 : 2);
      case Spot::LastCovered: return image.ChecksumAt(area) - 1;
      case Spot::ChecksumHigh: return image.ChecksumAt(area);
      case Spot::ChecksumLow: return image.ChecksumAt(area) + 1;
      case Spot::BehindChecksum: return image.ChecksumAt(area) + 2;
    }
    return start;
  }();
  image.Bytes()[at] ^= 0x01;

  EXPECT_EQ(CheckImageChecksums(image.Span()), passes);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, ImageChecksumsDamage,
    testing::Values(DamageCase{Area::A, Spot::AreaStart, false}, DamageCase{Area::A, Spot::FirstContent, false},
                    DamageCase{Area::A, Spot::LastCovered, false}, DamageCase{Area::A, Spot::ChecksumHigh, false},
                    DamageCase{Area::A, Spot::ChecksumLow, false}, DamageCase{Area::A, Spot::BehindChecksum, true},
                    DamageCase{Area::B, Spot::FirstContent, false}, DamageCase{Area::B, Spot::LastCovered, false},
                    DamageCase{Area::B, Spot::ChecksumHigh, false}, DamageCase{Area::B, Spot::ChecksumLow, false},
                    DamageCase{Area::B, Spot::BehindChecksum, true}, DamageCase{Area::C, Spot::FirstContent, false},
                    DamageCase{Area::C, Spot::LastCovered, false}, DamageCase{Area::C, Spot::ChecksumLow, false},
                    DamageCase{Area::C, Spot::BehindChecksum, true}, DamageCase{Area::D, Spot::FirstContent, false},
                    DamageCase{Area::D, Spot::LastCovered, false}, DamageCase{Area::D, Spot::ChecksumHigh, false},
                    DamageCase{Area::D, Spot::BehindChecksum, true}));

}  // namespace
}  // namespace rkvt
