#pragma once

#include <QStringList>
#include <cstdint>

#include "link/TestKinds.h"

namespace rkvt::loop {

// Test index: the position in the test-kind table (0 RDL-ES, 1 AL-ES, 2 ES,
// 3 RDL, 4 AL, 5 DL, 6 LL).
inline constexpr int kTestCount = 7;
inline constexpr int kTestRdl = 3;
inline constexpr int kTestAl = 4;
inline constexpr int kTestDl = 5;
inline constexpr int kTestLl = 6;

// The selector lists every test for the local modem, only the remote-capable
// ones for the remote modem.
inline QStringList SelectorItems(bool local) {
  QStringList items;
  for (const TestKind& t : TestKinds())
    if (local || t.remote) items.append(QString::fromLatin1(t.name.data(), static_cast<qsizetype>(t.name.size())));
  return items;
}

// Selector item -> test index; anything unexpected falls back to RDL-ES.
inline int TestIndex(int itemIndex, bool local) {
  int item = -1;
  for (int index = 0; index < static_cast<int>(TestKinds().size()); ++index) {
    if (!local && !TestKinds()[index].remote) continue;
    if (++item == itemIndex) return index;
  }
  return 0;
}

inline std::uint8_t TestCode(int testIndex) { return TestKinds()[testIndex].code; }

inline std::uint8_t PageCode(int testIndex, int softwareLevel) {
  return LoopPageCode(TestKinds()[testIndex], softwareLevel);
}

}  // namespace rkvt::loop
