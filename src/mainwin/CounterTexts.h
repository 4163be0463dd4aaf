#pragma once

#include <QString>
#include <cstdint>
#include <span>

#include "mainwin/MainWindowControls.h"

namespace rkvt {

// Line statistics time from the part of the current minute (1/42000 s) and
// the whole minutes, e.g. "1 d 1:05:05". No upper limit on the seconds.
QString StatisticsTimeText(std::int32_t part, std::int32_t minutes);

// Test counter time from seconds, with its trailing blank: "1 d 1:01:01 ".
QString TestTimeText(std::int32_t seconds);

// Bit counter grouped in threes with ".", with its trailing blank:
// "1.234.567 ". A minus sign counts as a digit when grouping.
QString BitCounterText(std::int32_t count);

// The test counters of a loop page: the four times for the ES tests
// (indexes 0-2), the bit counter for DL (5); other tests have none.
void DecodeTestCounters(std::span<const std::uint8_t> block, int testIndex, MainWindowControls& controls);

}  // namespace rkvt
