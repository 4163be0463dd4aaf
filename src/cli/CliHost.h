#pragma once

#include <QElapsedTimer>
#include <QTextStream>

#include "link/ProtocolHost.h"

namespace rkvt::cli {

// Shows the worker's messages and progress on stderr, so stdout stays for the
// results. Each message starts a phase; the progress line of a phase shows
// percent, bytes, throughput and the time left, counted from its start.
class CliHost : public ProtocolHost {
 public:
  // totalBytes: what 100 % stands for, for the bytes and throughput figures.
  explicit CliHost(qint64 totalBytes = 0);
  void ShowStatusText(const QString& text) override;
  void ShowProgress(int progress) override;
  void Beep() override {}
  void ShowStatusDetail(const QString& detail) override;
  // Ends a progress line that is still open.
  void EndProgressLine();

 private:
  QTextStream err_;
  QElapsedTimer clock_;
  qint64 totalBytes_;
  int shown_ = 0;
  bool progressOpen_ = false;
};

}  // namespace rkvt::cli
