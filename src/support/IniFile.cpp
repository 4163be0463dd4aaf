#include "support/IniFile.h"

#include <QFile>
#include <QStringList>

namespace rkvt {

namespace {

bool CreateEmpty(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
  file.close();
  return true;
}

}  // namespace

std::unique_ptr<QSettings> OpenIniFile(const QString& path) {
  if (!QFile::exists(path)) CreateEmpty(path);
  if (!QFile::exists(path)) return nullptr;
  return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

void FlushIniFile(QSettings* settings, const QString& path) {
  if (settings == nullptr) return;
  if (!QFile::exists(path)) CreateEmpty(path);
  settings->sync();
}

QString IniText(const QVariant& value) {
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1String(", "));
  return value.toString();
}

}  // namespace rkvt
