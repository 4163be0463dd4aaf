#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "port/PortSettings.h"

namespace rkvt {

// Where a window stands, in pixels.
struct WindowPlacement {
  int top = 0;
  int left = 0;
  int height = 0;
  int width = 0;

  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// The placement file: window positions, the update window's last image
// directory and file, and the serial port settings (section "ComPort").
class TIni {
 public:
  static constexpr const char* kFileName = "R-Kvt-ms.ini";

  // The Windows directory on Windows; the user's configuration directory
  // elsewhere (which honours XDG_CONFIG_HOME).
  static QString DefaultDirectory();

  explicit TIni(const QString& directory = DefaultDirectory());
  ~TIni();  // flushes; recreates the file if it was deleted meanwhile
  TIni(const TIni&) = delete;
  TIni& operator=(const TIni&) = delete;

  const QString& Path() const { return path_; }
  // False when the file could neither be found nor created.
  bool Available() const { return settings_ != nullptr; }

  // Reads the window's section with the given values as defaults. "FormMain"
  // and "FormSetup" keep their designed size: only top and left are read.
  void LoadPlacement(const QString& windowName, WindowPlacement& placement) const;
  void SavePlacement(const QString& windowName, const WindowPlacement& placement);

  QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
  void WriteString(const QString& section, const QString& key, const QString& value);

  // Field by field: a missing or unusable value leaves the field as it is.
  void LoadPortSettings(PortSettings& port) const;
  void SavePortSettings(const PortSettings& port);

 private:
  QString path_;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace rkvt
