#include "link/TestKinds.h"

#include <algorithm>
#include <array>

#include <QString>

#include "link/SoftwareLevel.h"

namespace rkvt {

namespace {

constexpr std::array kTestKinds{
    TestKind{"RDL-ES", 1, 5, 9, true},
    TestKind{"AL-ES", 4, 5, 9, false},
    TestKind{"ES", 6, 5, 9, false},
    TestKind{"RDL", 2, 6, 7, true},
    TestKind{"AL", 7, 6, 7, false},
    TestKind{"DL", 8, 4, 8, true},
    TestKind{"LL", 10, 6, 7, true},
};

}  // namespace

std::span<const TestKind> TestKinds() { return kTestKinds; }

const TestKind* FindTestKind(QStringView name) {
  const auto it = std::find_if(kTestKinds.begin(), kTestKinds.end(), [name](const TestKind& t) {
    return name.compare(QLatin1String(t.name.data(), static_cast<qsizetype>(t.name.size())),
                        Qt::CaseInsensitive) == 0;
  });
  return it == kTestKinds.end() ? nullptr : &*it;
}

std::uint8_t LoopPageCode(const TestKind& test, int softwareLevel) {
  return softwareLevel >= kSecondGenerationLevel ? test.pageFrom7 : test.pageBelow7;
}

}  // namespace rkvt
