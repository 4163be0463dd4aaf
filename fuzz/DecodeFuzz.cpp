// Whatever a modem answers, the main window's decoders must fill their
// fields without reading or writing outside the exchange block.
#include <algorithm>
#include <array>
#include <span>

#include "mainwin/Decode.h"
#include "FuzzCheck.h"
#include "mainwin/MainWindowControls.h"

namespace {

using namespace rkvt;

// The exchange block the window hands to its decoders.
constexpr std::size_t kBlockSize = 84;

struct Input {
  int softwareLevel;
  int modemVariant;
  bool targetLocal;
  int previousInterface;
  int counterLayout;
  std::array<std::uint8_t, kBlockSize> block{};
};

Input Parse(const std::uint8_t* data, std::size_t size) {
  Input in{};
  const auto at = [&](std::size_t i) -> std::uint8_t { return i < size ? data[i] : 0; };
  in.softwareLevel = at(0) % 32;
  in.modemVariant = at(1) % 16;
  in.targetLocal = (at(2) & 1) != 0;
  in.previousInterface = at(2) >> 1 & 7;
  in.counterLayout = (at(2) >> 4) % 7;
  if (size > 3) std::copy_n(data + 3, std::min(size - 3, kBlockSize), in.block.begin());
  return in;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Input in = Parse(data, size);
  MainWindowControls controls;

  // The identification block, as results 1 and 2 leave it.
  for (std::uint8_t result : {std::uint8_t{1}, std::uint8_t{2}}) {
    auto block = in.block;
    block[0] = result;
    const IdentificationOutcome outcome = DecodeIdentification(block, controls);
    FUZZ_CHECK(!outcome.supported || outcome.softwareLevel != 0);
  }

  // The statistics read, as result 25 leaves it.
  auto block = in.block;
  block[0] = 25;
  const int code = DecodeState(block, in.softwareLevel, in.modemVariant, in.targetLocal, in.previousInterface, controls);
  FUZZ_CHECK(code == in.previousInterface || (code >= 0 && code <= 6));
  DecodeStatistics(block, controls);
  ApplyCounterLayout(in.counterLayout, controls);

  // Activity records at every place the window reads one, and past the end.
  for (std::size_t at : {std::size_t{4}, std::size_t{22}, std::size_t{24}, kBlockSize - 2, kBlockSize + 3}) {
    auto copy = in.block;
    const QString text = ActivityText(copy, at, in.targetLocal);
    FUZZ_CHECK(!text.isEmpty() || at >= kBlockSize);
  }
  return 0;
}
