#include "sim/LoopTests.h"

#include <algorithm>

#include "sim/LineStatistics.h"

namespace rkvt::sim {

namespace {

constexpr std::uint8_t kConnected = 0x31;
constexpr std::uint8_t kOff = 0x32;
constexpr std::uint8_t kBusy = 0x33;

enum class PageKind { Seconds, Bits, Interface };

struct PageCode {
  std::uint8_t code;
  PageLayout layout;
  PageKind kind;
};

constexpr PageCode kPageCodes[] = {
    {5, PageLayout::First, PageKind::Seconds},  {4, PageLayout::First, PageKind::Bits},
    {6, PageLayout::First, PageKind::Interface}, {9, PageLayout::Second, PageKind::Seconds},
    {8, PageLayout::Second, PageKind::Bits},     {7, PageLayout::Second, PageKind::Interface},
};

const PageCode* FindPage(std::uint8_t code, PageLayout layout) {
  const auto it = std::find_if(std::begin(kPageCodes), std::end(kPageCodes),
                               [&](const PageCode& p) { return p.code == code && p.layout == layout; });
  return it == std::end(kPageCodes) ? nullptr : it;
}

bool CountsSeconds(std::uint8_t test) {
  return test == test_code::kRdlEs || test == test_code::kAlEs || test == test_code::kEs;
}

// Adds dt * perMille / 1000 to a counter, carrying what the division drops.
void AddShare(std::int64_t& counter, std::int64_t& remainder, std::int64_t dt, int perThousand) {
  remainder += dt * perThousand;
  counter += remainder / 1000;
  remainder %= 1000;
}

}  // namespace

std::uint8_t LoopTests::Connect(std::uint8_t testCode) {
  if (connectReply == ConnectReply::Busy) return kBusy;
  if (connectReply == ConnectReply::Off || !IsKnownTestCode(testCode)) return kOff;
  ++connects_;
  connected_ = testCode;
  ResetCounters();
  return kConnected;
}

void LoopTests::ResetCounters() {
  counters_ = {};
  erroredRemainder_ = severeRemainder_ = bitRemainder_ = 0;
}

void LoopTests::Advance(Duration now, bool lineUp) {
  const std::int64_t dt = (now - last_).count();
  last_ = now;
  if (dt <= 0 || !connected_) return;
  if (CountsSeconds(*connected_)) {
    if (!lineUp) {
      counters_.notReadyMs += dt;
      return;
    }
    counters_.readyMs += dt;
    AddShare(counters_.erroredMs, erroredRemainder_, dt, erroredPerMille);
    AddShare(counters_.severelyErroredMs, severeRemainder_, dt, severelyErroredPerMille);
  } else if (*connected_ == test_code::kDl && lineUp) {
    AddShare(counters_.bits, bitRemainder_, dt, bitsPerSecond);
  }
}

bool LoopTests::IsPageCode(std::uint8_t pageCode, PageLayout layout) { return FindPage(pageCode, layout) != nullptr; }

PageBlock LoopTests::Page(std::uint8_t pageCode, const ModemState& state, PageLayout layout) const {
  PageBlock block{};
  const PageCode* page = FindPage(pageCode, layout);
  if (!page) return block;
  // Block byte n is record byte n + 4.
  switch (page->kind) {
    case PageKind::Seconds:
      PutBig32(block, 4, static_cast<std::uint32_t>(counters_.readyMs / 1000));
      PutBig32(block, 8, static_cast<std::uint32_t>(counters_.notReadyMs / 1000));
      PutBig32(block, 12, static_cast<std::uint32_t>(counters_.erroredMs / 1000));
      PutBig32(block, 16, static_cast<std::uint32_t>(counters_.severelyErroredMs / 1000));
      break;
    case PageKind::Bits: PutBig32(block, 4, static_cast<std::uint32_t>(counters_.bits)); break;
    case PageKind::Interface: {
      // Record bytes 6-13 as on the state page of the same layout.
      const PageBlock statePage = StateBlock(state, layout, NoActivity());
      std::copy(statePage.begin() + 2, statePage.begin() + 10, block.begin() + 2);
      break;
    }
  }
  block[0] = LineConditionByte(state);
  block[1] = QualityRateByte(state, layout);
  return block;
}

}  // namespace rkvt::sim
