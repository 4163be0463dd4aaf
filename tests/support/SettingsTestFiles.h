#pragma once

#include <QFile>
#include <QString>

namespace rkvt::test {

inline QString ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<unreadable>");
}

inline bool WriteAll(const QString& path, const QString& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) == text.toUtf8().size();
}

// A directory below a regular file cannot be created, not even by root.
inline QString BlockedDirectory(const QString& base) {
  WriteAll(base + QStringLiteral("/file-not-dir"), QStringLiteral("keep me"));
  return base + QStringLiteral("/file-not-dir/x");
}

}  // namespace rkvt::test
