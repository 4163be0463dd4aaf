#include "link/QtSerialPort.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QSerialPort>
#include <algorithm>

#include "link/PortDiagnosis.h"
#include "link/PortError.h"

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace rkvt {

QtSerialPort::QtSerialPort(PortSettings settings, PortLister lister)
    : settings_(std::move(settings)), lister_(std::move(lister)) {
  if (!lister_) lister_ = &SystemPorts;
}

QtSerialPort::~QtSerialPort() { Close(); }

void QtSerialPort::Fail(int code, const char* what) {
  const QSerialPort::SerialPortError error = port_ ? port_->error() : QSerialPort::NotOpenError;
  // A time-out of our own leaves no error in the port; say what happened instead.
  const QString answer =
      port_ && error != QSerialPort::NoError ? port_->errorString() : QString::fromLatin1(what);
  Close();
  const PortDiagnosis why =
      code == PortError::kOpen
          ? DiagnoseOpen(settings_.name, error, answer, PortNames(lister_()))
          : DiagnoseLoss(settings_.name, code == PortError::kWrite ? QStringLiteral("write") : QStringLiteral("read"),
                         error, answer);
  throw PortError(code, std::string(what) + ": " + answer.toStdString(), why.reason.toStdString());
}

void QtSerialPort::Open() {
  Close();
  port_ = std::make_unique<QSerialPort>();
  port_->setPortName(settings_.name);
  if (!port_->open(QIODevice::ReadWrite)) Fail(PortError::kOpen, "open");
  const bool configured = port_->setBaudRate(settings_.baudRate) &&
                          port_->setDataBits(settings_.dataBits) &&
                          port_->setParity(settings_.parity) &&
                          port_->setStopBits(settings_.stopBits) &&
                          port_->setFlowControl(settings_.flowControl);
  if (!configured) Fail(PortError::kOpen, "configure");
  // DTR and RTS are held inactive; a pty cannot do either, which is no fault.
  port_->setDataTerminalReady(false);
  if (settings_.flowControl != QSerialPort::HardwareControl) port_->setRequestToSend(false);
  // Late replies to an earlier command may still wait in the driver; the
  // exchanges that read without a purge would take them for their own.
  port_->clear(QSerialPort::Input);
  port_->clearError();
}

void QtSerialPort::Close() {
  if (port_) {
    if (port_->isOpen()) port_->close();
    port_.reset();
  }
}

void QtSerialPort::Purge() {
  if (!port_ || !port_->isOpen()) Fail(PortError::kRead, "purge");
  // Every write waits until its bytes have left, so the transmit queue is
  // already empty; flushing it anyway would, on a pty, discard a request the
  // peer has not read yet.
  port_->clear(QSerialPort::Input);
  port_->clearError();
}

void QtSerialPort::Write(std::span<const std::uint8_t> bytes) {
  if (!port_ || !port_->isOpen()) Fail(PortError::kWrite, "write");
  const auto written =
      port_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  if (written != static_cast<qint64>(bytes.size())) Fail(PortError::kWrite, "write");
  QDeadlineTimer deadline(kWriteTimeoutMs);
  while (port_->bytesToWrite() > 0) {
    if (deadline.hasExpired()) Fail(PortError::kWrite, "write time-out");
    if (!port_->waitForBytesWritten(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
      if (port_->error() != QSerialPort::TimeoutError) Fail(PortError::kWrite, "write");
      port_->clearError();
    }
  }
  WaitTransmitted(deadline);
}

void QtSerialPort::WaitTransmitted(const QDeadlineTimer& deadline) {
#ifdef Q_OS_UNIX
  // A write counts once the bytes have left, as it does on Windows; otherwise
  // the purge of the next attempt could discard a request still in the queue.
  int queued = 0;
  while (ioctl(static_cast<int>(port_->handle()), TIOCOUTQ, &queued) == 0 && queued > 0) {
    if (deadline.hasExpired()) Fail(PortError::kWrite, "write time-out");
    QThread::usleep(500);
  }
#else
  Q_UNUSED(deadline);
#endif
}

std::size_t QtSerialPort::Read(std::span<std::uint8_t> buffer, int totalTimeoutMs,
                               const std::atomic<bool>& stop) {
  if (!port_ || !port_->isOpen()) Fail(PortError::kRead, "read");
  QDeadlineTimer deadline(totalTimeoutMs);
  std::size_t got = 0;
  while (true) {
    const qint64 n = port_->read(reinterpret_cast<char*>(buffer.data() + got),
                                 static_cast<qint64>(buffer.size() - got));
    if (n < 0) Fail(PortError::kRead, "read");
    got += static_cast<std::size_t>(n);
    if (got == buffer.size() || stop.load() || deadline.hasExpired()) return got;
    const int slice = static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 1, kWaitSliceMs));
    if (!port_->waitForReadyRead(slice)) {
      // A time-out only ends the slice; anything else (a vanished device) is a read fault.
      if (port_->error() != QSerialPort::TimeoutError && port_->error() != QSerialPort::NoError)
        Fail(PortError::kRead, "read");
      port_->clearError();
      if (!port_->isOpen()) Fail(PortError::kRead, "read");
    }
  }
}

}  // namespace rkvt
