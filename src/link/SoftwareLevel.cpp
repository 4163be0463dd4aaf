#include "link/SoftwareLevel.h"

#include <array>

namespace rkvt {

namespace {

// One row: a type, a major digit, a range of minor digits and a range of the
// last digit (inclusive), and the level they give.
struct LevelRow {
  std::uint8_t type;
  int major;
  int minorLow, minorHigh;
  int lastLow, lastHigh;
  std::int32_t level;
};

constexpr std::array kWorkingFirmware{
    LevelRow{1, 1, 0, 2, 0, 9, 1},   LevelRow{1, 1, 3, 3, 0, 9, 2},   LevelRow{1, 1, 4, 4, 0, 9, 3},
    LevelRow{1, 2, 0, 0, 0, 8, 4},   LevelRow{1, 2, 0, 0, 9, 9, 5},   LevelRow{1, 2, 1, 1, 0, 9, 5},
    LevelRow{1, 2, 2, 2, 0, 5, 7},   LevelRow{1, 2, 2, 2, 6, 9, 8},   LevelRow{6, 3, 0, 0, 0, 9, 9},
    LevelRow{6, 3, 1, 1, 0, 1, 10},  LevelRow{6, 3, 1, 1, 2, 4, 11},  LevelRow{6, 3, 1, 1, 5, 9, 12},
    LevelRow{6, 4, 0, 15, 0, 9, 13}, LevelRow{6, 5, 0, 0, 0, 9, 14},  LevelRow{6, 5, 1, 15, 0, 9, 15},
    LevelRow{6, 6, 0, 15, 0, 9, 16}, LevelRow{6, 7, 0, 15, 0, 9, 17},
};

struct LoaderRow {
  std::uint8_t type;
  std::int32_t level;
};
constexpr std::array kLoaders{LoaderRow{2, 21}, LoaderRow{5, 22}, LoaderRow{9, 23}};

}  // namespace

std::int32_t SoftwareLevel(std::uint8_t type, std::uint8_t versionByte, std::uint8_t third) {
  for (const LoaderRow& row : kLoaders)
    if (row.type == type) return row.level;
  // A last character that is no digit makes the version unlisted.
  if (third < '0' || third > '9') return 0;
  const int major = versionByte >> 4;
  const int minor = versionByte & 0x0F;
  const int last = third - '0';
  for (const LevelRow& row : kWorkingFirmware) {
    if (row.type == type && row.major == major && minor >= row.minorLow && minor <= row.minorHigh &&
        last >= row.lastLow && last <= row.lastHigh)
      return row.level;
  }
  return 0;
}

}  // namespace rkvt
