#pragma once

#include <QString>
#include <cstdint>

namespace rkvt {

// The write phase's progress text: "37 % - 1:52 left - 1.5 kB/s". Time left
// and rate come from the progress made since the phase began; until a
// second has passed and the bar has moved, only the percentage is known.
class TransferEstimate {
 public:
  void Begin(std::int64_t nowMs, int progress);
  QString Text(std::int64_t nowMs, int progress) const;

  // "1:52", "1:02:03"; negative counts as zero.
  static QString Duration(std::int64_t ms);

 private:
  std::int64_t startMs_ = 0;
  int startProgress_ = 0;
};

}  // namespace rkvt
