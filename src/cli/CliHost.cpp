#include "cli/CliHost.h"

#include <cstdio>

namespace rkvt::cli {

CliHost::CliHost(qint64 totalBytes) : err_(stderr), totalBytes_(totalBytes) { clock_.start(); }

void CliHost::ShowStatusText(const QString& text) {
  EndProgressLine();
  err_ << text << Qt::endl;
  clock_.restart();
  shown_ = 0;
}

void CliHost::ShowStatusDetail(const QString& detail) {
  EndProgressLine();
  err_ << detail << Qt::endl;
}

void CliHost::ShowProgress(int progress) {
  // Called after every block; only a new percentage is worth a redraw.
  if (progress == shown_) return;
  shown_ = progress;
  const qint64 ms = clock_.elapsed();
  const qint64 bytes = totalBytes_ * progress / 100;
  err_ << '\r' << qSetFieldWidth(3) << progress << qSetFieldWidth(0) << " %";
  if (totalBytes_ > 0) {
    const double rate = ms > 0 ? bytes * 1000.0 / ms : 0.0;
    const double left = progress > 0 ? ms / 1000.0 * (100 - progress) / progress : 0.0;
    err_ << QStringLiteral("  %1 / %2 bytes  %3 B/s  %4 s left   ")
                .arg(bytes)
                .arg(totalBytes_)
                .arg(rate, 0, 'f', 0)
                .arg(left, 0, 'f', 0);
  }
  err_.flush();
  progressOpen_ = true;
}

void CliHost::EndProgressLine() {
  if (progressOpen_) err_ << Qt::endl;
  progressOpen_ = false;
}

}  // namespace rkvt::cli
