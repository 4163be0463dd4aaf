#pragma once

#include <QString>
#include <memory>
#include <span>

#include "mainwin/TFormMain.h"
#include "support/TLog.h"

namespace rkvt {

// The main window's event log: one log object for the port in use, made anew
// when the port changes, fed with the window's fields after every completion.
class MainWindowLog {
 public:
  // An empty directory means the current one at the moment each log is made.
  MainWindowLog(TFormMain& form, bool enabled, QString directory, TLog::Now now = &QDateTime::currentDateTime);
  ~MainWindowLog();
  MainWindowLog(const MainWindowLog&) = delete;
  MainWindowLog& operator=(const MainWindowLog&) = delete;

  TLog& Log() { return *log_; }

  // What the log reads of the window, with this reply snapshot.
  static TLog::Window View(const TFormMain& form, std::span<const std::uint8_t> snapshot);

 private:
  void Open(const QString& portName);

  TFormMain& form_;
  bool enabled_;
  QString directory_;
  TLog::Now now_;
  std::unique_ptr<TLog> log_;
};

}  // namespace rkvt
