#pragma once

#include <QSerialPort>
#include <QString>

namespace rkvt {

// Line settings of the service port; the defaults are what the modem expects.
struct PortSettings {
#ifdef Q_OS_WIN
  QString name = QStringLiteral("COM1");
#else
  QString name = QStringLiteral("ttyS0");
#endif
  qint32 baudRate = 115200;
  QSerialPort::DataBits dataBits = QSerialPort::Data8;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::StopBits stopBits = QSerialPort::OneStop;
  QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;

  friend bool operator==(const PortSettings&, const PortSettings&) = default;
};

}  // namespace rkvt
