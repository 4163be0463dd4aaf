#include "CliHost.h"

#include <cstdio>

namespace rkvt::cli {

CliHost::CliHost(qint64 totalBytes) : err_(stderr), totalBytes_(totalBytes) { clock_.start(); }

void CliHost::ShowStatusText(const QString& text, bool) {
  EndProgressLine();
  err_ << text.trimmed() << Qt::endl;
}

void CliHost::ShowProgress(int progress) {
  const double seconds = clock_.elapsed() / 1000.0;
  const qint64 bytes = totalBytes_ * progress / 100;
  err_ << "\r" << qSetFieldWidth(3) << progress << qSetFieldWidth(0) << " %";
  if (totalBytes_ > 0) {
    const double rate = seconds > 0 ? bytes / seconds : 0;
    const double left = progress > 0 ? seconds * (100 - progress) / progress : 0;
    err_ << QStringLiteral("  %1 / %2 bytes  %3 B/s  %4 s left   ")
                .arg(bytes)
                .arg(totalBytes_)
                .arg(rate, 0, 'f', 0)
                .arg(left, 0, 'f', 0);
  }
  err_.flush();
  progressShown_ = true;
}

void CliHost::EndProgressLine() {
  if (progressShown_) err_ << Qt::endl;
  progressShown_ = false;
}

}  // namespace rkvt::cli
