#include <gtest/gtest.h>

#include "Compatibility.h"

namespace rkvt {
namespace {

// What FindImageVersion gives for "$VER:", 1, version byte, character.
ImageVersion Version(int major, int minor, char character) {
  ImageVersion version;
  version.found = true;
  version.kind = 1;
  version.major = major;
  version.minor = minor;
  version.character = static_cast<std::uint8_t>(character);
  version.text = QString::number(major) + '.' + QString::number(minor) + QChar(character);
  return version;
}

struct CompatCase {
  int level;
  int major;
  int minor;
  char character;
  const char* refusal;  // "" = accepted
};

void PrintTo(const CompatCase& c, std::ostream* os) {
  *os << "level " << c.level << ", " << c.major << '.' << c.minor << c.character;
}

class CompatibilityTable : public testing::TestWithParam<CompatCase> {};

TEST_P(CompatibilityTable, AcceptOrExactRefusal) {
  const CompatCase c = GetParam();
  const CompatibilityResult result = CheckCompatibility(c.level, Version(c.major, c.minor, c.character));
  EXPECT_EQ(result.ok, *c.refusal == '\0');
  EXPECT_EQ(result.message, QString(c.refusal));
}

constexpr const char* kOk = "";

INSTANTIATE_TEST_SUITE_P(
    FirstGeneration, CompatibilityTable,
    testing::Values(CompatCase{0, 2, 9, '9', kOk}, CompatCase{0, 0, 0, '0', kOk}, CompatCase{6, 1, 2, '5', kOk},
                    CompatCase{8, 2, 2, '6', kOk}, CompatCase{21, 2, 0, '9', kOk},
                    CompatCase{0, 3, 0, '0', " SW higher 2.xx (3.00) can't be load into R-KVT-MS !"},
                    CompatCase{8, 7, 0, '2', " SW higher 2.xx (7.02) can't be load into R-KVT-MS !"},
                    CompatCase{21, 4, 0, '0', " SW higher 2.xx (4.00) can't be load into R-KVT-MS !"}));

INSTANTIATE_TEST_SUITE_P(
    Firmware3, CompatibilityTable,
    testing::Values(CompatCase{9, 3, 0, '0', kOk}, CompatCase{10, 3, 1, '4', kOk}, CompatCase{12, 3, 1, '5', kOk},
                    CompatCase{12, 3, 1, '6', " SW higher 3.15 (3.16) can't be load into R-KVT-MS-2 !"},
                    CompatCase{11, 3, 3, '0', " SW higher 3.15 (3.30) can't be load into R-KVT-MS-2 !"},
                    CompatCase{9, 4, 0, '0', " SW higher 3.15 (4.00) can't be load into R-KVT-MS-2 !"},
                    CompatCase{12, 2, 2, '5', " SW 1.xx or 2.xx (2.25) can't be load into R-KVT-MS-2 !"},
                    CompatCase{10, 0, 0, '0', " SW 1.xx or 2.xx (0.00) can't be load into R-KVT-MS-2 !"}));

INSTANTIATE_TEST_SUITE_P(
    PlnModems, CompatibilityTable,
    testing::Values(CompatCase{13, 4, 1, '0', kOk}, CompatCase{13, 6, 0, '1', kOk},
                    CompatCase{13, 5, 0, '1', " SW 5.01 can't be load into R-KVT-MS-2-PLN 3ch !"},
                    CompatCase{13, 3, 1, '5', " SW 3.15 can't be load into R-KVT-MS-2-PLN 3ch !"},
                    CompatCase{14, 5, 0, '0', kOk}, CompatCase{15, 5, 1, '2', kOk},
                    CompatCase{14, 6, 0, '0', " SW not 5.xx (6.00) can't be load into R-KVT-MS-2-PLN 1ch !"},
                    CompatCase{15, 4, 0, '0', " SW not 5.xx (4.00) can't be load into R-KVT-MS-2-PLN 1ch !"},
                    CompatCase{16, 6, 0, '5', kOk},
                    CompatCase{16, 4, 0, '0', " SW not 6.xx (4.00) can't be load into R-KVT-MS-2-PLN 3ch !"},
                    CompatCase{17, 7, 0, '2', kOk},
                    CompatCase{17, 6, 0, '0', " SW not 7.xx (6.00) can't be load into R-KVT-MS-2-PLN 2ch !"}));

INSTANTIATE_TEST_SUITE_P(
    Loaders, CompatibilityTable,
    testing::Values(CompatCase{22, 3, 0, '0', kOk}, CompatCase{22, 4, 0, '0', kOk}, CompatCase{22, 6, 0, '0', kOk},
                    CompatCase{22, 8, 0, '0', kOk}, CompatCase{22, 15, 15, '9', kOk},
                    CompatCase{22, 2, 0, '0', " SW 1.xx or 2.xx (2.00) can't be load into R-KVT-MS-2 !"},
                    CompatCase{22, 5, 0, '0', " SW 5.xx (5.00) can't be load into R-KVT-MS-2 !"},
                    CompatCase{22, 7, 0, '2', " SW 5.xx (7.02) can't be load into R-KVT-MS-2 !"},
                    CompatCase{23, 5, 0, '0', kOk}, CompatCase{23, 9, 0, '0', kOk},
                    CompatCase{23, 4, 9, '9', " SW lower 5.xx (4.99) can't be load into R-KVT-MS-2-PLN !"},
                    CompatCase{23, 0, 0, '0', " SW lower 5.xx (0.00) can't be load into R-KVT-MS-2-PLN !"}));

INSTANTIATE_TEST_SUITE_P(UnknownLevels, CompatibilityTable,
                         testing::Values(CompatCase{18, 0, 0, '0', kOk}, CompatCase{20, 1, 0, '0', kOk},
                                         CompatCase{24, 3, 1, '6', kOk}, CompatCase{-1, 7, 0, '0', kOk},
                                         CompatCase{1000, 5, 0, '0', kOk}));

class CompatibilityNoVersion : public testing::TestWithParam<int> {};

TEST_P(CompatibilityNoVersion, RefusedWithoutText) {
  const CompatibilityResult result = CheckCompatibility(GetParam(), ImageVersion{});
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.message.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Levels, CompatibilityNoVersion, testing::Values(0, 12, 13, 18, 22, 23, 99));

}  // namespace
}  // namespace rkvt
