#pragma once

#include <chrono>
#include <cstdint>

#include "sim/ModemState.h"

namespace rkvt::sim {

// The line counters behind statistics pages 2 and 3. They advance with the
// modem's time, a step at every request: full time always, current time
// while the line is up (it restarts when the line comes back), no-line time
// while it is down, errors time as a share of the time up.
class LineStatistics {
 public:
  using Duration = std::chrono::milliseconds;

  struct Counters {
    std::int64_t fullMs = 0;
    std::int64_t currentMs = 0;
    std::int64_t noLineMs = 0;
    std::int64_t errorsMs = 0;
    std::uint16_t faults = 0;  // parameter 1
    std::uint16_t param2 = 0;
    std::uint16_t param3 = 0;
    std::uint16_t param4 = 0;
  };

  Counters& Values() { return counters_; }
  const Counters& Values() const { return counters_; }
  // Per thousand of the time up that counts as errored.
  int errorsPerMille = 0;

  void Advance(Duration now, bool lineUp);
  // Clears the four times; the fault word and parameters are the modem's state.
  void Reset();

  PageBlock Page2() const;
  PageBlock Page3() const;

 private:
  Counters counters_;
  Duration last_{0};  // the modem's time starts at its power-on
  bool wasUp_ = true;
  std::int64_t errorRemainder_ = 0;
};

// Helpers for pages: big-endian numbers, and a time as the pair (part of the
// minute in 1/42000 s, whole minutes).
void PutBig32(PageBlock& block, std::size_t at, std::uint32_t value);
void PutBig16(PageBlock& block, std::size_t at, std::uint16_t value);
void PutMinuteTime(PageBlock& block, std::size_t at, std::int64_t ms);

}  // namespace rkvt::sim
