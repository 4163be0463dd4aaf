#include <gtest/gtest.h>

#include "SoftwareLevel.h"

namespace rkvt {
namespace {

struct LevelCase {
  std::uint8_t type;
  const char* version;  // "M.mx"
  std::int32_t level;
};

std::int32_t LevelOf(const LevelCase& c) {
  const std::uint8_t versionByte = static_cast<std::uint8_t>((c.version[0] - '0') << 4 | (c.version[2] - '0'));
  return SoftwareLevel(c.type, versionByte, static_cast<std::uint8_t>(c.version[3]));
}

class Level : public ::testing::TestWithParam<LevelCase> {};
TEST_P(Level, FromTypeAndVersion) { EXPECT_EQ(LevelOf(GetParam()), GetParam().level) << GetParam().version; }

INSTANTIATE_TEST_SUITE_P(
    Table, Level,
    ::testing::Values(LevelCase{1, "1.00", 1}, LevelCase{1, "1.29", 1}, LevelCase{1, "1.35", 2},
                      LevelCase{1, "1.40", 3}, LevelCase{1, "1.50", 0}, LevelCase{1, "2.00", 4},
                      LevelCase{1, "2.08", 4}, LevelCase{1, "2.09", 5}, LevelCase{1, "2.15", 5},
                      LevelCase{1, "2.25", 7}, LevelCase{1, "2.26", 8}, LevelCase{1, "2.30", 0},
                      LevelCase{1, "3.15", 0}, LevelCase{6, "3.05", 9}, LevelCase{6, "3.11", 10},
                      LevelCase{6, "3.12", 11}, LevelCase{6, "3.14", 11}, LevelCase{6, "3.15", 12},
                      LevelCase{6, "3.20", 0}, LevelCase{6, "4.27", 13}, LevelCase{6, "5.03", 14},
                      LevelCase{6, "5.10", 15}, LevelCase{6, "6.01", 16}, LevelCase{6, "7.99", 17},
                      LevelCase{6, "8.00", 0}, LevelCase{6, "2.25", 0}, LevelCase{2, "0.00", 21},
                      LevelCase{5, "1.23", 22}, LevelCase{9, "9.99", 23}, LevelCase{3, "2.25", 0},
                      LevelCase{4, "3.15", 0}, LevelCase{7, "4.00", 0}, LevelCase{8, "5.00", 0},
                      LevelCase{0, "1.00", 0}));

TEST(Level, LastCharacterThatIsNoDigitMakesTheVersionUnlisted) {
  EXPECT_EQ(SoftwareLevel(6, 0x31, 'A'), 0);
  EXPECT_EQ(SoftwareLevel(1, 0x22, ' '), 0);
  EXPECT_EQ(SoftwareLevel(5, 0x10, 'x'), 22) << "a loader's version does not matter";
}

}  // namespace
}  // namespace rkvt
