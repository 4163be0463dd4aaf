#include "sim/LineStatistics.h"

namespace rkvt::sim {

void PutBig32(PageBlock& block, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

void PutBig16(PageBlock& block, std::size_t at, std::uint16_t value) {
  block[at] = static_cast<std::uint8_t>(value >> 8);
  block[at + 1] = static_cast<std::uint8_t>(value);
}

void PutMinuteTime(PageBlock& block, std::size_t at, std::int64_t ms) {
  constexpr std::int64_t kMinute = 60'000;
  constexpr std::int64_t kUnitsPerMs = 42;  // 42000 units a second
  PutBig32(block, at, static_cast<std::uint32_t>((ms % kMinute) * kUnitsPerMs));
  PutBig32(block, at + 4, static_cast<std::uint32_t>(ms / kMinute));
}

void LineStatistics::Advance(Duration now, bool lineUp) {
  const std::int64_t dt = (now - last_).count();
  last_ = now;
  if (dt <= 0) return;
  counters_.fullMs += dt;
  if (lineUp) {
    if (!wasUp_) counters_.currentMs = 0;
    counters_.currentMs += dt;
    errorRemainder_ += dt * errorsPerMille;
    counters_.errorsMs += errorRemainder_ / 1000;
    errorRemainder_ %= 1000;
  } else {
    counters_.noLineMs += dt;
  }
  wasUp_ = lineUp;
}

void LineStatistics::Reset() {
  counters_.fullMs = counters_.currentMs = counters_.noLineMs = counters_.errorsMs = 0;
  errorRemainder_ = 0;
}

PageBlock LineStatistics::Page2() const {
  PageBlock block{};
  PutMinuteTime(block, 0, counters_.fullMs);
  PutMinuteTime(block, 8, counters_.currentMs);
  return block;
}

PageBlock LineStatistics::Page3() const {
  PageBlock block{};
  PutMinuteTime(block, 0, counters_.noLineMs);
  PutMinuteTime(block, 8, counters_.errorsMs);
  PutBig16(block, 16, counters_.faults);
  PutBig16(block, 18, counters_.param2);
  PutBig16(block, 20, counters_.param3);
  PutBig16(block, 22, counters_.param4);
  return block;
}

}  // namespace rkvt::sim
