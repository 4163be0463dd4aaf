#include "firmware/TransferEstimate.h"

#include "link/ImageGeometry.h"

namespace rkvt {

namespace {
// Below this the rate is mostly the first frame's latency.
constexpr std::int64_t kSettleMs = 1000;
}  // namespace

void TransferEstimate::Begin(std::int64_t nowMs, int progress) {
  startMs_ = nowMs;
  startProgress_ = progress;
}

QString TransferEstimate::Text(std::int64_t nowMs, int progress) const {
  QString text = QString::number(progress) + QStringLiteral(" %");
  const std::int64_t elapsed = nowMs - startMs_;
  const int done = progress - startProgress_;
  if (elapsed < kSettleMs || done <= 0 || progress >= 100) return text;
  const std::int64_t left = (100 - progress) * elapsed / done;
  const double bytesPerSecond = double(done) * double(kImageSize) / 100.0 * 1000.0 / double(elapsed);
  return text + QStringLiteral(" - %1 left - %2 kB/s").arg(Duration(left)).arg(bytesPerSecond / 1000.0, 0, 'f', 1);
}

QString TransferEstimate::Duration(std::int64_t ms) {
  const std::int64_t seconds = ms > 0 ? (ms + 999) / 1000 : 0;
  const auto two = [](std::int64_t n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
  if (seconds >= 3600) return QString::number(seconds / 3600) + ':' + two(seconds / 60 % 60) + ':' + two(seconds % 60);
  return QString::number(seconds / 60) + ':' + two(seconds % 60);
}

}  // namespace rkvt
