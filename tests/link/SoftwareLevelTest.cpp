#include <gtest/gtest.h>

#include "link/SoftwareLevel.h"

namespace rkvt {
namespace {

// Type, version "M.mx", level; 0 for versions the program does not list.
const std::tuple<std::uint8_t, const char*, std::int32_t> kLevels[] = {
    {1, "1.00", 1},  {1, "1.29", 1},  {1, "1.35", 2},  {1, "1.40", 3},  {1, "1.50", 0},  {1, "2.00", 4},
    {1, "2.08", 4},  {1, "2.09", 5},  {1, "2.15", 5},  {1, "2.25", 7},  {1, "2.26", 8},  {1, "2.30", 0},
    {1, "3.15", 0},  {6, "3.05", 9},  {6, "3.11", 10}, {6, "3.12", 11}, {6, "3.14", 11}, {6, "3.15", 12},
    {6, "3.20", 0},  {6, "4.27", 13}, {6, "5.03", 14}, {6, "5.10", 15}, {6, "6.01", 16}, {6, "7.99", 17},
    {6, "8.00", 0},  {6, "2.25", 0},  {2, "0.00", 21}, {5, "1.23", 22}, {9, "9.99", 23}, {3, "2.25", 0},
    {4, "3.15", 0},  {7, "4.00", 0},  {8, "5.00", 0},  {0, "1.00", 0},
};

TEST(SoftwareLevel, FromTypeAndVersion) {
  for (const auto& [type, version, level] : kLevels) {
    const auto versionByte = static_cast<std::uint8_t>((version[0] - '0') << 4 | (version[2] - '0'));
    EXPECT_EQ(SoftwareLevel(type, versionByte, static_cast<std::uint8_t>(version[3])), level) << int(type) << " " << version;
  }
  // A last character that is no digit makes the version unlisted; a loader's version does not matter.
  EXPECT_EQ(SoftwareLevel(6, 0x31, 'A'), 0);
  EXPECT_EQ(SoftwareLevel(1, 0x22, ' '), 0);
  EXPECT_EQ(SoftwareLevel(5, 0x10, 'x'), 22);
}

}  // namespace
}  // namespace rkvt
