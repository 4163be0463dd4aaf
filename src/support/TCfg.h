#pragma once

#include <QDir>
#include <QSettings>
#include <QString>
#include <memory>

namespace rkvt {

// The configuration file the user edits by hand: the two polling intervals
// and the event log switch. Created with defaults when missing, read once.
class TCfg {
 public:
  static constexpr const char* kFileName = "r-kvt-ms_v2.48.cfg";  // the program title in lower case
  static constexpr int kDefaultInterval = 1000;

  explicit TCfg(const QString& directory = QDir::currentPath());
  ~TCfg();
  TCfg(const TCfg&) = delete;
  TCfg& operator=(const TCfg&) = delete;

  const QString& Path() const { return path_; }
  bool Available() const { return settings_ != nullptr; }

  int StatInterval() const { return statInterval_; }
  int LoopInterval() const { return loopInterval_; }
  bool CreateLogFiles() const { return createLogFiles_; }

 private:
  int ReadInteger(const QString& key, int defaultValue) const;
  void WriteInteger(const QString& key, int value);
  QString ReadText(const QString& key, const QString& defaultValue) const;  // lower-cased
  void WriteText(const QString& key, const QString& value);

  QString path_;
  std::unique_ptr<QSettings> settings_;
  int statInterval_ = kDefaultInterval;
  int loopInterval_ = kDefaultInterval;
  bool createLogFiles_ = false;
};

}  // namespace rkvt
