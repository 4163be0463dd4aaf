#include "support/TLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "link/Commands.h"

namespace rkvt {

namespace {

// The failed result of each command the main window runs: the modem did not
// answer as it should.
constexpr std::array<std::uint8_t, 7> kErrorResults{
    result::kIdentifyFailed,
    result::kEnterSetupFailed,
    command::kExitSetup + 1,
    result::kStatisticsFailed,
    command::kResetStatistics + 1,
    command::kGetLoopStatistics + 1,
    result::kResetLoopStatisticsFailed,
};

// Module kinds in bits 5-7 of a slot's first byte.
struct ModuleName {
  std::uint8_t kind;
  const char* name;
};
constexpr std::array kModules{
    ModuleName{2, "Ethernet ENX"},
    ModuleName{3, "E1"},
    ModuleName{4, "Ethernet ENX-100"},
};
constexpr std::array<std::size_t, 4> kSlotBytes{6, 10, 14, 18};

constexpr std::uint8_t kQualityNoLine = 5;

QString Module(std::span<const std::uint8_t> snapshot) {
  for (std::size_t at : kSlotBytes) {
    if (at >= snapshot.size()) break;
    const int kind = snapshot[at] >> 5;
    for (const ModuleName& m : kModules)
      if (m.kind == kind) return QString::fromLatin1(m.name);
  }
  return QStringLiteral("none");
}

bool Lit(ui::Color colour) { return colour == ui::colors::kLime; }

bool IsPort2(int code) { return code == 1 || code == 4; }
bool IsEthernet(int code) { return code == 2 || code == 3; }
constexpr int kInterfaceE1 = 5;

QByteArray Stamp(const QDateTime& at) {
  const QDate d = at.date();
  const QTime t = at.time();
  return QString::asprintf("%02d.%02d.%04d %02d:%02d:%02d", d.day(), d.month(), d.year(), t.hour(), t.minute(),
                           t.second())
      .toLatin1();
}

// A read-only file is the user's way of saying "leave this alone"; root
// would get past the permission check, so the mode bits count too.
bool Writable(const QFileInfo& info) {
  return info.isWritable() &&
         (info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

constexpr QFileDevice::Permissions kNewFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;

// Written beside the old file and renamed over it: a crash, a full disk or a
// kill half-way leaves the old log whole. No flush to the disk itself (as
// QSaveFile does): that alone costs more than the whole line at the cap.
bool ReplaceFile(const QString& path, const QByteArray& bytes, QFileDevice::Permissions permissions) {
  QTemporaryFile temp(path + QStringLiteral(".XXXXXX"));
  if (!temp.open()) return false;
  // The flush must succeed too: a full disk may only show there.
  const bool written = temp.write(bytes) == bytes.size() && temp.flush() && temp.setPermissions(permissions);
  temp.close();
  if (!written) return false;
  std::error_code failed;
  std::filesystem::rename(temp.fileName().toStdU16String(), path.toStdU16String(), failed);
  if (failed) return false;
  temp.setAutoRemove(false);
  return true;
}

}  // namespace

TLog::TLog(const QString& programTitle, const QString& portName, bool enabled, const QString& directory, Now now)
    : path_(QDir(directory).filePath(FileName(programTitle, portName))), enabled_(enabled), now_(std::move(now)) {}

QString TLog::FileName(const QString& programTitle, const QString& portName) {
  // "COM1", "/dev/ttyUSB0", "\\.\COM10": the name after the last separator.
  const qsizetype cut = std::max(portName.lastIndexOf(QLatin1Char('/')), portName.lastIndexOf(QLatin1Char('\\')));
  return (programTitle + QLatin1Char(' ') + portName.mid(cut + 1)).toLower() + QStringLiteral(".log");
}

void TLog::Add(const QString& text) {
  if (!enabled_) return;
  const QByteArray line = Stamp(now_()) + " [" + QByteArray::number(lineNumber_) + "] : " + text.toUtf8();
  // A lost line still takes its number: the gap shows that one is missing.
  ++lineNumber_;
  if (Write(line)) gapPending_ = false;
}

bool TLog::Write(const QByteArray& line) {
  QByteArray old;
  const QFileInfo info(path_);
  if (info.exists()) {
    // Never replace what could not be read: that would lose the whole log.
    if (!info.isFile() || !Writable(info)) return false;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return false;
    old = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
  }

  std::vector<QByteArrayView> lines;
  lines.reserve(static_cast<std::size_t>(old.size() / 48 + 3));
  for (qsizetype from = 0; from < old.size();) {
    qsizetype end = old.indexOf('\n', from);
    const qsizetype next = end < 0 ? old.size() : end + 1;
    if (end < 0) end = old.size();
    const qsizetype length = end > from && old[end - 1] == '\r' ? end - 1 - from : end - from;
    lines.emplace_back(old.constData() + from, length);
    from = next;
  }
  if (gapPending_) lines.insert(lines.end(), 2, QByteArrayView());
  lines.emplace_back(line);

  // Oldest lines go first; the newest one always stays.
  qint64 total = 0;
  for (const QByteArrayView& l : lines) total += l.size() + 2;
  std::size_t first = 0;
  while (total > kMaxFileBytes && first + 1 < lines.size()) total -= lines[first++].size() + 2;

  QByteArray out;
  out.reserve(total);
  for (std::size_t i = first; i < lines.size(); ++i) {
    out.append(lines[i]);
    out.append("\r\n", 2);
  }
  return ReplaceFile(path_, out, info.exists() ? info.permissions() : kNewFilePermissions);
}

QString TLog::Summary(const Window& w) const {
  QString s = QStringLiteral("Connection to ") + w.targetWord + w.modem + QStringLiteral(" is established") +
              QStringLiteral(", FW version ") + w.version + QStringLiteral(", interface ") + w.interface;
  if (IsPort2(w.interfaceCode)) s += QStringLiteral(", cable ") + w.cable;
  s += QStringLiteral(", available modules ") + Module(w.snapshot) + QStringLiteral(", full time ") + w.fullTime +
       QStringLiteral(", curr time ") + w.currTime + QStringLiteral(", noline time ") + w.noLineTime +
       QStringLiteral(", errors time ") + w.errorsTime;
  for (std::size_t i = 0; i < w.parameters.size(); ++i)
    s += QStringLiteral(", parameter %1 ").arg(i + 1) + w.parameters[i];
  return s;
}

void TLog::Monitor(const Window& w) {
  if (!enabled_ || w.snapshot.empty()) return;
  const std::uint8_t result = w.snapshot[0];
  if (std::find(kErrorResults.begin(), kErrorResults.end(), result) != kErrorResults.end()) {
    if (connected_) {
      Add(QString::fromLatin1(kNoConnection));
      connected_ = false;
    }
    return;
  }
  if (result != result::kStatisticsDone && result != command::kGetLoopStatistics) return;
  if (!connected_) {
    Add(QString::fromLatin1(kConnection));
    connected_ = true;
  }
  if (!monitoring_) {
    Add(Summary(w));
    lastErrorsTime_ = w.errorsTime;
    lastNoLineTime_ = w.noLineTime;
    lastParameters_ = w.parameters;
    // After a summary every port is told afresh.
    if (IsPort2(w.interfaceCode)) port2_ = kUnknown;
    if (IsEthernet(w.interfaceCode)) ethernet_ = kUnknown;
    if (w.interfaceCode == kInterfaceE1) e1_ = los_ = lof_ = lot_ = ra_ = ais_ = kUnknown;
    line_ = kUnknown;
    lastQuality_.clear();
    lastLineRate_.clear();
  }
  LineEvents(w);
  PortEvents(w);
}

void TLog::LineEvents(const Window& w) {
  const bool up = w.snapshot.size() > 5 && (w.snapshot[5] & 0x07) < kQualityNoLine;
  if (w.lineRate != lastLineRate_ || w.quality != lastQuality_) {
    if (up) {
      Add(QStringLiteral("Line UP, line rate ") + w.lineRate + QStringLiteral(" kbit/s, quality ") + w.quality);
      line_ = kUp;
    } else if (line_ != kDown) {
      Add(QString::fromLatin1(kLineDown));
      line_ = kDown;
    }
    lastLineRate_ = w.lineRate;
    lastQuality_ = w.quality;
  }
  if (w.errorsTime != lastErrorsTime_) {
    Add(QStringLiteral("errors time: ") + w.errorsTime);
    lastErrorsTime_ = w.errorsTime;
  }
  if (w.noLineTime != lastNoLineTime_) {
    Add(QStringLiteral("noline time: ") + w.noLineTime);
    lastNoLineTime_ = w.noLineTime;
  }
  for (std::size_t i = 0; i < w.parameters.size(); ++i) {
    if (w.parameters[i] == lastParameters_[i]) continue;
    Add(QStringLiteral("parameter %1: ").arg(i + 1) + w.parameters[i]);
    lastParameters_[i] = w.parameters[i];
  }
}

namespace {
constexpr const char* kPort2Up = "Port 2 (KSI-2) status is changed to UP";
constexpr const char* kPort2Down = "Port 2 (KSI-2) status is changed to DOWN";
constexpr const char* kEthernetUp = "Ethernet port link status is changed to UP";
constexpr const char* kEthernetDown = "Ethernet port link status is changed to DOWN";
constexpr const char* kE1Up = "E1 port status is changed to UP";
constexpr const char* kE1Down = "E1 port status is changed to DOWN";
}  // namespace

void TLog::PortChange(std::uint8_t& stored, std::uint8_t now, const char* up, const char* down) {
  if (now == stored) return;
  Add(QString::fromLatin1(now == kUp ? up : down));
  stored = now;
}

void TLog::PortEvents(const Window& w) {
  // A port that is no longer the active one is reported down once.
  const auto gone = [this](std::uint8_t& state, const char* down) {
    if (state == kUp) PortChange(state, kDown, nullptr, down);
  };
  if (IsPort2(w.interfaceCode)) {
    gone(ethernet_, kEthernetDown);
    gone(e1_, kE1Down);
    const bool allActive = std::all_of(w.port2.begin(), w.port2.end(), Lit);
    PortChange(port2_, allActive ? kUp : kDown, kPort2Up, kPort2Down);
  } else if (IsEthernet(w.interfaceCode)) {
    gone(port2_, kPort2Down);
    PortChange(ethernet_, w.ethernetLink == ui::colors::kGreen ? kDown : kUp, kEthernetUp, kEthernetDown);
  } else if (w.interfaceCode == kInterfaceE1) {
    gone(port2_, kPort2Down);
    E1Events(w);
  }
}

void TLog::E1Events(const Window& w) {
  struct Alarm {
    ui::Color Window::*colour;
    std::uint8_t TLog::*state;
    const char* text;
  };
  // LOF, AIS and RA are only examined without LOS; LOT always.
  static constexpr std::array kMasked{
      Alarm{&Window::lof, &TLog::lof_, "E1 port is detected alarm: Loss Of Frame"},
      Alarm{&Window::ais, &TLog::ais_, "E1 port is detected alarm: Alarm Indication signal"},
      Alarm{&Window::ra, &TLog::ra_, "E1 port is detected alarm: Remote Alarm"},
  };
  static constexpr Alarm kLos{&Window::los, &TLog::los_, "E1 port is detected alarm: Loss Of Signal"};
  static constexpr Alarm kLot{&Window::lot, &TLog::lot_, "E1 port is detected alarm: Loss Of Transmitter"};

  std::uint8_t port = kUp;
  const auto examine = [&](const Alarm& a) {
    std::uint8_t& state = this->*a.state;
    if (!Lit(w.*a.colour)) {
      state = kDown;
      return;
    }
    if (state != kUp) Add(QString::fromLatin1(a.text));
    state = kUp;
    port = kDown;
  };
  examine(kLos);
  if (los_ != kUp)
    for (const Alarm& a : kMasked) examine(a);
  examine(kLot);
  PortChange(e1_, port, kE1Up, kE1Down);
}

}  // namespace rkvt
