#include <gtest/gtest.h>

#include "firmware/Compatibility.h"

namespace rkvt {
namespace {

// Level, then the image's version major.minor and character, then the refusal ("" = accepted).
TEST(Compatibility, AcceptOrExactRefusalPerLevelGroup) {
  const std::tuple<int, int, int, char, const char*> cases[] = {
      // 0-8 and 21: first generation
      {0, 0, 0, '0', ""}, {8, 2, 9, '9', ""}, {21, 1, 2, '5', ""},
      {0, 3, 0, '0', " SW higher 2.xx (3.00) can't be load into R-KVT-MS !"},
      {8, 7, 0, '2', " SW higher 2.xx (7.02) can't be load into R-KVT-MS !"},
      {21, 4, 0, '0', " SW higher 2.xx (4.00) can't be load into R-KVT-MS !"},
      // 9-12: firmware 3 up to 3.15
      {9, 3, 0, '0', ""}, {12, 3, 1, '5', ""},
      {12, 3, 1, '6', " SW higher 3.15 (3.16) can't be load into R-KVT-MS-2 !"},
      {11, 3, 3, '0', " SW higher 3.15 (3.30) can't be load into R-KVT-MS-2 !"},
      {9, 4, 0, '0', " SW higher 3.15 (4.00) can't be load into R-KVT-MS-2 !"},
      {12, 2, 2, '5', " SW 1.xx or 2.xx (2.25) can't be load into R-KVT-MS-2 !"},
      {10, 0, 0, '0', " SW 1.xx or 2.xx (0.00) can't be load into R-KVT-MS-2 !"},
      // 13-17: PLN modems
      {13, 4, 1, '0', ""}, {13, 6, 0, '1', ""}, {14, 5, 0, '0', ""},
      {15, 5, 1, '2', ""}, {16, 6, 0, '5', ""}, {17, 7, 0, '2', ""},
      {13, 5, 0, '1', " SW 5.01 can't be load into R-KVT-MS-2-PLN 3ch !"},
      {13, 3, 1, '5', " SW 3.15 can't be load into R-KVT-MS-2-PLN 3ch !"},
      {14, 6, 0, '0', " SW not 5.xx (6.00) can't be load into R-KVT-MS-2-PLN 1ch !"},
      {15, 4, 0, '0', " SW not 5.xx (4.00) can't be load into R-KVT-MS-2-PLN 1ch !"},
      {16, 4, 0, '0', " SW not 6.xx (4.00) can't be load into R-KVT-MS-2-PLN 3ch !"},
      {17, 6, 0, '0', " SW not 7.xx (6.00) can't be load into R-KVT-MS-2-PLN 2ch !"},
      // 22-23: loaders
      {22, 3, 0, '0', ""}, {22, 4, 0, '0', ""}, {22, 6, 0, '0', ""},
      {22, 15, 15, '9', ""}, {23, 5, 0, '0', ""}, {23, 9, 0, '0', ""},
      {22, 2, 0, '0', " SW 1.xx or 2.xx (2.00) can't be load into R-KVT-MS-2 !"},
      {22, 5, 0, '0', " SW 5.xx (5.00) can't be load into R-KVT-MS-2 !"},
      {22, 7, 0, '2', " SW 5.xx (7.02) can't be load into R-KVT-MS-2 !"},
      {23, 4, 9, '9', " SW lower 5.xx (4.99) can't be load into R-KVT-MS-2-PLN !"},
      // levels without a rule take every image
      {18, 0, 0, '0', ""}, {20, 1, 0, '0', ""}, {24, 3, 1, '6', ""},
      {-1, 7, 0, '0', ""}};
  for (const auto& [level, major, minor, character, refusal] : cases) {
    // What FindImageVersion gives for "$VER:", 1, version byte, character.
    ImageVersion version{true, 1, major, minor, std::uint8_t(character)};
    version.text = QString("%1.%2%3").arg(major).arg(minor).arg(character);
    const CompatibilityResult result = CheckCompatibility(level, version);
    EXPECT_EQ(result.ok, *refusal == '\0') << "level " << level << ", " << version.text.toStdString();
    EXPECT_EQ(result.message, QString(refusal)) << "level " << level << ", " << version.text.toStdString();
  }
}

TEST(Compatibility, NoVersionRefusedWithoutText) {
  for (const int level : {0, 12, 13, 18, 22, 23, 99}) {
    const CompatibilityResult result = CheckCompatibility(level, ImageVersion{});
    EXPECT_FALSE(result.ok) << level;
    EXPECT_TRUE(result.message.isEmpty()) << level;
  }
}

}  // namespace
}  // namespace rkvt
