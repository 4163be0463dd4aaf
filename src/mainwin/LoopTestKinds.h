#pragma once

#include <QStringList>
#include <array>
#include <cstdint>

namespace rkvt::loop {

// Test index: 0 RDL-ES, 1 AL-ES, 2 ES, 3 RDL, 4 AL, 5 DL, 6 LL.
inline constexpr int kTestCount = 7;
inline constexpr int kTestRdl = 3;
inline constexpr int kTestAl = 4;
inline constexpr int kTestDl = 5;
inline constexpr int kTestLl = 6;

// Sent in the connect and disconnect requests.
inline constexpr std::array<std::uint8_t, kTestCount> kTestCodes{1, 4, 6, 2, 7, 8, 10};
// Loop statistics page per test: first-generation firmware, then level 7 on.
inline constexpr std::array<std::uint8_t, kTestCount> kPageCodesBelow7{5, 5, 5, 6, 6, 4, 6};
inline constexpr std::array<std::uint8_t, kTestCount> kPageCodesFrom7{9, 9, 9, 7, 7, 8, 7};
// The remote modem offers four tests only.
inline constexpr std::array<int, 4> kRemoteItemToTest{0, 3, 5, 6};

inline QStringList SelectorItems(bool local) {
  if (local) return {"RDL-ES", "AL-ES", "ES", "RDL", "AL", "DL", "LL"};
  return {"RDL-ES", "RDL", "DL", "LL"};
}

// Selector item -> test index; anything unexpected falls back to RDL-ES.
inline int TestIndex(int itemIndex, bool local) {
  if (local) return itemIndex >= 0 && itemIndex < kTestCount ? itemIndex : 0;
  return itemIndex >= 0 && itemIndex < static_cast<int>(kRemoteItemToTest.size()) ? kRemoteItemToTest[itemIndex] : 0;
}

inline std::uint8_t TestCode(int testIndex) { return kTestCodes[testIndex]; }

inline std::uint8_t PageCode(int testIndex, int softwareLevel) {
  return softwareLevel >= 7 ? kPageCodesFrom7[testIndex] : kPageCodesBelow7[testIndex];
}

}  // namespace rkvt::loop
