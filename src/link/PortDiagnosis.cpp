#include "link/PortDiagnosis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace rkvt {

namespace {

QString Answered(const QString& path, const QString& what, const QString& systemAnswer) {
  return QStringLiteral("%1: %2 (the system answered \"%3\").").arg(path, what, systemAnswer);
}

PortDiagnosis Missing(const QString& path, const QString& systemAnswer, const QStringList& ports) {
  QString text = Answered(path, QStringLiteral("no such port"), systemAnswer);
  if (ports.isEmpty())
    text += QStringLiteral(" This machine has no serial ports: plug in the adapter, then choose its port.");
  else
    text += QStringLiteral(" Ports on this machine: %1. Check the cable and the adapter, and choose one of these.")
                .arg(ports.join(QStringLiteral(", ")));
  return {PortProblem::Missing, text};
}

PortDiagnosis Busy(const QString& path, const QString& systemAnswer, qint64 pid, const QString& program,
                   const QString& source) {
  QString text = Answered(path, QStringLiteral("busy"), systemAnswer);
  if (pid <= 0) {
    text += QStringLiteral(" Another program holds it: close that program and try again.");
  } else {
    const QString who = program.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(program);
    text += QStringLiteral(" Process %1%2 holds it (%3): close that program and try again.")
                .arg(pid)
                .arg(who, source);
  }
  return {PortProblem::Busy, text};
}

#ifdef Q_OS_UNIX

QString ProgramOf(qint64 pid) {
  QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
  if (!comm.open(QIODevice::ReadOnly)) return {};
  return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

bool Running(qint64 pid) { return pid > 0 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)); }

struct Holder {
  qint64 pid = 0;
  QString source;
};

// The UUCP-style lock file that serial programs (Qt's among them) leave with
// their process id in it, named after the device's path below /dev.
std::optional<Holder> LockFileHolder(const QString& path) {
  QString stem = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : QFileInfo(path).fileName();
  stem.replace(QLatin1Char('/'), QLatin1Char('_'));
  for (const char* folder : {"/run/lock", "/var/lock", "/var/spool/locks", "/tmp"}) {
    const QString lockPath = QString::fromLatin1(folder) + QStringLiteral("/LCK..") + stem;
    QFile lock(lockPath);
    if (!lock.open(QIODevice::ReadOnly)) continue;
    // Text ("  1234\n") or, from old programs, a binary int.
    const QByteArray content = lock.read(64);
    bool ok = false;
    qint64 pid = content.split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok && content.size() >= static_cast<qsizetype>(sizeof(int))) pid = *reinterpret_cast<const int*>(content.data());
    if (Running(pid)) return Holder{pid, QStringLiteral("lock file %1").arg(lockPath)};
  }
  return std::nullopt;
}

// A program that holds the device without a lock file still has it among its
// open files; only processes we may look into are found.
std::optional<Holder> OpenFileHolder(const QString& path) {
  const QString target = QFileInfo(path).canonicalFilePath();
  const QDir proc(QStringLiteral("/proc"));
  for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    bool numeric = false;
    const qint64 pid = entry.toLongLong(&numeric);
    if (!numeric || pid == getpid()) continue;
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(entry));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
      if (fd.symLinkTarget() == target) return Holder{pid, QStringLiteral("it has the device open")};
    }
  }
  return std::nullopt;
}

PortDiagnosis NoPermission(const QString& path, const QString& systemAnswer) {
  struct stat st {};
  QString text = Answered(path, QStringLiteral("permission denied"), systemAnswer);
  if (stat(QFile::encodeName(path).constData(), &st) != 0) return {PortProblem::NoPermission, text};
  const group* g = getgrgid(st.st_gid);
  const QString group = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(st.st_gid);
  const bool groupMayUse = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
  if (groupMayUse && st.st_gid != 0)
    text += QStringLiteral(
                " The device belongs to group %1: add your user to it (sudo usermod -aG %1 $USER), then log out and in "
                "again.")
                .arg(group);
  else
    text += QStringLiteral(
                " The device belongs to group %1, which may not read and write it: ask the administrator to give it "
                "to group dialout (a udev rule), join that group (sudo usermod -aG dialout $USER), then log out and "
                "in again.")
                .arg(group);
  return {PortProblem::NoPermission, text};
}

PortDiagnosis DiagnoseUnixOpen(const QString& path, const QString& systemAnswer, const QStringList& ports) {
  const QByteArray native = QFile::encodeName(path);
  struct stat st {};
  if (stat(native.constData(), &st) != 0) return Missing(path, systemAnswer, ports);
  // The effective ids, as open() uses them.
  if (faccessat(AT_FDCWD, native.constData(), R_OK | W_OK, AT_EACCESS) != 0 && errno == EACCES)
    return NoPermission(path, systemAnswer);
  if (const auto holder = LockFileHolder(path))
    return Busy(path, systemAnswer, holder->pid, ProgramOf(holder->pid), holder->source);
  // Ask the device itself what stands in the way.
  const int fd = open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  const int why = fd < 0 ? errno : 0;
  if (fd >= 0) close(fd);
  if (why == EBUSY) {
    const auto holder = OpenFileHolder(path);
    return holder ? Busy(path, systemAnswer, holder->pid, ProgramOf(holder->pid), holder->source)
                  : Busy(path, systemAnswer, 0, {}, {});
  }
  if (why == EACCES || why == EPERM) return NoPermission(path, systemAnswer);
  if (why == ENXIO || why == ENODEV || why == ENOENT) return Missing(path, systemAnswer, ports);
  return {PortProblem::Other, Answered(path, QStringLiteral("cannot be opened"), systemAnswer)};
}

#endif

}  // namespace

QString DevicePath(const QString& name) {
#ifdef Q_OS_UNIX
  if (!name.isEmpty() && !name.contains(QLatin1Char('/'))) return QStringLiteral("/dev/") + name;
#endif
  return name;
}

PortDiagnosis DiagnoseOpen(const QString& name, QSerialPort::SerialPortError error, const QString& systemAnswer,
                           const QStringList& ports) {
  const QString path = DevicePath(name);
#ifdef Q_OS_UNIX
  Q_UNUSED(error);
  return DiagnoseUnixOpen(path, systemAnswer, ports);
#else
  // Windows says "access denied" for a port another program has open.
  if (error == QSerialPort::DeviceNotFoundError) return Missing(path, systemAnswer, ports);
  if (error == QSerialPort::PermissionError) return Busy(path, systemAnswer, 0, {}, {});
  return {PortProblem::Other, Answered(path, QStringLiteral("cannot be opened"), systemAnswer)};
#endif
}

PortDiagnosis DiagnoseLoss(const QString& name, const QString& operation, QSerialPort::SerialPortError error,
                           const QString& systemAnswer) {
  const QString path = DevicePath(name);
#ifdef Q_OS_UNIX
  const bool gone = !QFileInfo::exists(path);
#else
  const bool gone = false;
#endif
  // A resource error is how the toolkit reports a device pulled while open.
  if (gone || error == QSerialPort::ResourceError || systemAnswer.isEmpty()) {
    return {PortProblem::Vanished,
            Answered(path, QStringLiteral("the device went away during the command (%1)").arg(operation),
                     systemAnswer.isEmpty() ? QStringLiteral("no more data") : systemAnswer) +
                QStringLiteral(" Plug the adapter in again and check the port's name; a name under "
                               "/dev/serial/by-id/ stays the same after re-plugging.")};
  }
  return {PortProblem::Other, Answered(path, QStringLiteral("%1 failed").arg(operation), systemAnswer)};
}

}  // namespace rkvt
