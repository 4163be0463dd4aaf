#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace rkvt {

// Both settings files are made available the same way: use the file if it is
// there, else create it empty; if even that fails, there is no file at all
// (reads give defaults, writes are dropped).
std::unique_ptr<QSettings> OpenIniFile(const QString& path);

// Puts back a file that was deleted while the program ran, then writes what
// is pending. Safe to call without a file.
void FlushIniFile(QSettings* settings, const QString& path);

// Settings values as text; a hand-edited value with commas reads back as a
// list, which is taken as the text the user wrote.
QString IniText(const QVariant& value);

}  // namespace rkvt
