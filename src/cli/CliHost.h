#pragma once

#include <QElapsedTimer>
#include <QTextStream>

#include "ProtocolHost.h"

namespace rkvt::cli {

// Shows the worker's messages and progress on stderr.
class CliHost : public ProtocolHost {
 public:
  // totalBytes: the size behind 100 %, for the bytes and throughput figures.
  explicit CliHost(qint64 totalBytes = 0);
  void ShowStatusText(const QString& text, bool toUpdateWindow) override;
  void ShowProgress(int progress) override;
  void Beep() override {}
  void EndProgressLine();

 private:
  QTextStream err_;
  QElapsedTimer clock_;
  qint64 totalBytes_;
  bool progressShown_ = false;
};

}  // namespace rkvt::cli
