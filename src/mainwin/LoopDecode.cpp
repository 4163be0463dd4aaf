// The loop page of a running test: what each test kind reports.

#include <array>

#include "mainwin/CounterTexts.h"
#include "mainwin/Decode.h"
#include "mainwin/LoopTestKinds.h"
#include "mainwin/StateFields.h"

namespace rkvt {

namespace {

struct LoopPageParts {
  bool lineQualityAndRate;
  bool portRate;
  bool interface;  // interface, speed, cable and indicators
};

constexpr LoopPageParts kCounterPage{true, false, false};
constexpr LoopPageParts kLoopbackPage{true, true, true};
// By test index: RDL-ES, AL-ES, ES, RDL, AL, DL, LL.
constexpr std::array<LoopPageParts, loop::kTestCount> kParts{
    kCounterPage,  kCounterPage,  kCounterPage, kLoopbackPage,
    kLoopbackPage, kCounterPage, LoopPageParts{false, false, true},
};

}  // namespace

int DecodeLoop(std::span<const std::uint8_t> block, int testIndex, std::int32_t softwareLevel,
               std::int32_t modemVariant, int previousInterfaceCode, MainWindowControls& controls) {
  const bool known = testIndex >= 0 && testIndex < loop::kTestCount;
  const LoopPageParts& parts = kParts[known ? testIndex : 0];
  int code = previousInterfaceCode;
  if (parts.lineQualityAndRate) {
    ShowLineQuality(block, controls);
    ShowLineBitRate(block, softwareLevel, modemVariant, controls);
  }
  // The port rate is read before this page's interface is known: the rate
  // byte's meaning follows the interface the last decode found.
  if (parts.portRate) ShowPortBitRate(block, softwareLevel, modemVariant, previousInterfaceCode, controls);
  if (parts.interface) code = DecodeInterface(block, softwareLevel, previousInterfaceCode, controls);
  DecodeTestCounters(block, known ? testIndex : 0, controls);
  // A test is running here by definition; the line is the news.
  ShowLineCondition(block, controls);
  return code;
}

}  // namespace rkvt
