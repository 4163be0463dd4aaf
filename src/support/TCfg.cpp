#include "support/TCfg.h"

#include <QFile>

#include "support/IniFile.h"

namespace rkvt {

namespace {

QString Key(const QString& key) { return QStringLiteral("Config/") + key; }

const QString kStatInterval = QStringLiteral("StatInterval");
const QString kLoopInterval = QStringLiteral("LoopInterval");
const QString kCreateLogFiles = QStringLiteral("CreateLogFiles");

}  // namespace

TCfg::TCfg(const QString& directory) : path_(QDir(directory).filePath(QLatin1String(kFileName))) {
  const bool existed = QFile::exists(path_);
  settings_ = OpenIniFile(path_);
  if (settings_ && !existed) {
    WriteInteger(kStatInterval, kDefaultInterval);
    WriteInteger(kLoopInterval, kDefaultInterval);
    WriteText(kCreateLogFiles, QStringLiteral("no"));
    // On disk at once, so the user finds the keys to edit even if we crash.
    settings_->sync();
  }
  // An interval of 0 or below would make polling spin or never come back;
  // such a value is mended to the default like one that is not a number.
  const auto interval = [this](const QString& key) {
    const int value = ReadInteger(key, kDefaultInterval);
    return value > 0 ? value : kDefaultInterval;
  };
  statInterval_ = interval(kStatInterval);
  loopInterval_ = interval(kLoopInterval);
  createLogFiles_ = ReadText(kCreateLogFiles, QStringLiteral("no")) == QLatin1String("yes");
}

TCfg::~TCfg() { FlushIniFile(settings_.get(), path_); }

int TCfg::ReadInteger(const QString& key, int defaultValue) const {
  if (!settings_) return defaultValue;
  bool ok = false;
  const int value = IniText(settings_->value(Key(key))).trimmed().toInt(&ok);
  return ok ? value : defaultValue;
}

void TCfg::WriteInteger(const QString& key, int value) {
  if (settings_) settings_->setValue(Key(key), value);
}

QString TCfg::ReadText(const QString& key, const QString& defaultValue) const {
  if (!settings_) return defaultValue.toLower();
  const QVariant value = settings_->value(Key(key));
  return (value.isValid() ? IniText(value) : defaultValue).toLower();
}

void TCfg::WriteText(const QString& key, const QString& value) {
  if (settings_) settings_->setValue(Key(key), value);
}

}  // namespace rkvt
