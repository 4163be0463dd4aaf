#include "support/TIni.h"

#include <QDir>
#include <QMetaEnum>
#include <QStandardPaths>
#include <optional>

#include "support/IniFile.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace rkvt {

namespace {

const QString kComPort = QStringLiteral("ComPort");

QString Key(const QString& section, const QString& key) { return section + QLatin1Char('/') + key; }

// Serial values are kept under QSerialPort's own enum names ("Data8", "NoParity").
template <typename E>
QString EnumName(E value) {
  return QString::fromLatin1(QMetaEnum::fromType<E>().valueToKey(static_cast<int>(value)));
}

template <typename E>
std::optional<E> EnumFromName(const QString& name) {
  const QMetaEnum meta = QMetaEnum::fromType<E>();
  for (int i = 0; i < meta.keyCount(); ++i) {
    if (name.trimmed().compare(QLatin1String(meta.key(i)), Qt::CaseInsensitive) == 0) {
      return static_cast<E>(meta.value(i));
    }
  }
  return std::nullopt;
}

bool IsStandardBaudRate(qint32 rate) {
  return QMetaEnum::fromType<QSerialPort::BaudRate>().valueToKey(rate) != nullptr;
}

std::optional<qint32> PositiveNumber(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok || value <= 0) return std::nullopt;
  return value;
}

}  // namespace

QString TIni::DefaultDirectory() {
#ifdef Q_OS_WIN
  wchar_t buffer[MAX_PATH];
  const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return QString::fromWCharArray(buffer, static_cast<int>(length));
  return qEnvironmentVariable("SystemRoot", QStringLiteral("C:/Windows"));
#else
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}

TIni::TIni(const QString& directory) : path_(QDir(directory).filePath(QLatin1String(kFileName))) {
  // A fresh account may have no configuration directory yet.
  QDir().mkpath(directory);
  settings_ = OpenIniFile(path_);
}

TIni::~TIni() { FlushIniFile(settings_.get(), path_); }

void TIni::LoadPlacement(const QString& windowName, WindowPlacement& placement) const {
  const auto read = [&](const char* key, int& field) {
    bool ok = false;
    const int value = ReadString(windowName, QLatin1String(key), QString()).trimmed().toInt(&ok);
    if (ok) field = value;
  };
  read("Top", placement.top);
  read("Left", placement.left);
  const bool designedSize = windowName == QLatin1String("FormMain") || windowName == QLatin1String("FormSetup");
  if (designedSize) return;
  read("Height", placement.height);
  read("Width", placement.width);
}

void TIni::SavePlacement(const QString& windowName, const WindowPlacement& placement) {
  WriteString(windowName, QStringLiteral("Top"), QString::number(placement.top));
  WriteString(windowName, QStringLiteral("Left"), QString::number(placement.left));
  WriteString(windowName, QStringLiteral("Height"), QString::number(placement.height));
  WriteString(windowName, QStringLiteral("Width"), QString::number(placement.width));
}

QString TIni::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
  if (!settings_) return defaultValue;
  const QVariant value = settings_->value(Key(section, key));
  return value.isValid() ? IniText(value) : defaultValue;
}

void TIni::WriteString(const QString& section, const QString& key, const QString& value) {
  if (settings_) settings_->setValue(Key(section, key), value);
}

void TIni::LoadPortSettings(PortSettings& port) const {
  const auto read = [&](const char* key) { return ReadString(kComPort, QLatin1String(key), QString()); };

  if (const QString name = read("Port").trimmed(); !name.isEmpty()) port.name = name;
  // BaudRate holds the rate itself; CustomBaudRate only stands in when it is unusable.
  if (const auto rate = PositiveNumber(read("BaudRate"))) {
    port.baudRate = *rate;
  } else if (const auto custom = PositiveNumber(read("CustomBaudRate"))) {
    port.baudRate = *custom;
  }
  if (const auto v = EnumFromName<QSerialPort::StopBits>(read("StopBits"))) port.stopBits = *v;
  if (const auto v = EnumFromName<QSerialPort::DataBits>(read("DataBits"))) port.dataBits = *v;
  if (const auto v = EnumFromName<QSerialPort::Parity>(read("Parity"))) port.parity = *v;
  if (const auto v = EnumFromName<QSerialPort::FlowControl>(read("FlowControl"))) port.flowControl = *v;
}

void TIni::SavePortSettings(const PortSettings& port) {
  if (!settings_) return;
  WriteString(kComPort, QStringLiteral("Port"), port.name);
  WriteString(kComPort, QStringLiteral("BaudRate"), QString::number(port.baudRate));
  WriteString(kComPort, QStringLiteral("StopBits"), EnumName(port.stopBits));
  WriteString(kComPort, QStringLiteral("DataBits"), EnumName(port.dataBits));
  WriteString(kComPort, QStringLiteral("Parity"), EnumName(port.parity));
  WriteString(kComPort, QStringLiteral("FlowControl"), EnumName(port.flowControl));
  const QString custom = Key(kComPort, QStringLiteral("CustomBaudRate"));
  if (IsStandardBaudRate(port.baudRate)) {
    settings_->remove(custom);
  } else {
    settings_->setValue(custom, QString::number(port.baudRate));
  }
}

}  // namespace rkvt
