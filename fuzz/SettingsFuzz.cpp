// Hand-edited settings files: whatever the placement and configuration files
// hold, the program reads usable values from them, and what it writes back
// reads the same.
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <set>

#include "FuzzCheck.h"
#include "support/TCfg.h"
#include "support/TIni.h"

namespace {

using namespace rkvt;

void WriteFile(const QString& path, const std::uint8_t* data, std::size_t size) {
  QFile file(path);
  FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

void CheckPort(const PortSettings& port) {
  FUZZ_CHECK(port.baudRate > 0);
  FUZZ_CHECK(port.dataBits >= QSerialPort::Data5 && port.dataBits <= QSerialPort::Data8);
  static const std::set<int> parities = {QSerialPort::NoParity, QSerialPort::EvenParity, QSerialPort::OddParity,
                                         QSerialPort::SpaceParity, QSerialPort::MarkParity};
  FUZZ_CHECK(parities.count(port.parity) == 1);
  FUZZ_CHECK(port.stopBits == QSerialPort::OneStop || port.stopBits == QSerialPort::OneAndHalfStop ||
             port.stopBits == QSerialPort::TwoStop);
  FUZZ_CHECK(port.flowControl == QSerialPort::NoFlowControl || port.flowControl == QSerialPort::HardwareControl ||
             port.flowControl == QSerialPort::SoftwareControl);
}

}  // namespace

// The input is the placement file, a zero byte, then the configuration file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir dir;
  const std::uint8_t* split = std::find(data, data + size, std::uint8_t{0});
  WriteFile(QDir(dir.path()).filePath(TIni::kFileName), data, static_cast<std::size_t>(split - data));
  const std::uint8_t* cfgStart = split == data + size ? split : split + 1;
  WriteFile(QDir(dir.path()).filePath(TCfg::kFileName), cfgStart, static_cast<std::size_t>(data + size - cfgStart));

  {
    const TCfg cfg(dir.path());
    FUZZ_CHECK(cfg.StatInterval() > 0 && cfg.LoopInterval() > 0);
  }

  PortSettings port;
  WindowPlacement main, software;
  {
    TIni ini(dir.path());
    ini.LoadPlacement(QStringLiteral("FormMain"), main);
    ini.LoadPlacement(QStringLiteral("FormSoftware"), software);
    ini.LoadPortSettings(port);
    CheckPort(port);
    // What the program writes back when it ends.
    ini.SavePortSettings(port);
    ini.SavePlacement(QStringLiteral("FormSoftware"), software);
  }
  TIni again(dir.path());
  PortSettings reread;
  reread.name = QStringLiteral("-");
  WindowPlacement softwareAgain;
  again.LoadPortSettings(reread);
  again.LoadPlacement(QStringLiteral("FormSoftware"), softwareAgain);
  // A name that is only blanks is not saved as a name; the rest must survive.
  if (!port.name.trimmed().isEmpty()) FUZZ_CHECK(reread.name == port.name.trimmed());
  reread.name = port.name;
  FUZZ_CHECK(reread == port);
  FUZZ_CHECK(softwareAgain == software);
  return 0;
}
