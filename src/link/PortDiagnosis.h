#pragma once

#include <QSerialPort>
#include <QString>
#include <QStringList>

namespace rkvt {

enum class PortProblem { Missing, NoPermission, Busy, Vanished, Other };

// Why the port failed, in words a technician can act on: which port, what the
// system answered and what to do.
struct PortDiagnosis {
  PortProblem problem = PortProblem::Other;
  QString reason;
};

// "ttyUSB0" -> "/dev/ttyUSB0"; paths and Windows names stay as they are.
QString DevicePath(const QString& name);

// After a failed open. `ports`: the names of the serial ports this machine has.
PortDiagnosis DiagnoseOpen(const QString& name, QSerialPort::SerialPortError error, const QString& systemAnswer,
                           const QStringList& ports);
// After a read or write failed on an open port; `operation` is "read" or "write".
PortDiagnosis DiagnoseLoss(const QString& name, const QString& operation, QSerialPort::SerialPortError error,
                           const QString& systemAnswer);

}  // namespace rkvt
