#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "ui/Color.h"

namespace rkvt {

// The event log: one text file per serial port that records, numbered and
// time-stamped, when the program started and stopped, when the modem stopped
// or started answering, and every change of line, counters and port states
// that the main window shows. Writes nothing at all when logging is off.
class TLog {
 public:
  static constexpr qint64 kMaxFileBytes = 0x80000;
  using Now = std::function<QDateTime()>;

  // What Monitor reads of the main window after a completion.
  struct Window {
    std::span<const std::uint8_t> snapshot;  // the reply snapshot, result code first
    int interfaceCode = 0;
    QString targetWord;  // "local " or "remote "
    QString modem, version, interface, cable;
    QString fullTime, currTime, noLineTime, errorsTime;
    QString lineRate, quality;
    std::array<QString, 4> parameters;
    // Indicator colours: port 2 DTR, DSR, RTS, CTS, DCD; Ethernet link; E1 alarms.
    std::array<ui::Color, 5> port2{ui::Color::ButtonFace(), ui::Color::ButtonFace(), ui::Color::ButtonFace(),
                                   ui::Color::ButtonFace(), ui::Color::ButtonFace()};
    ui::Color ethernetLink = ui::Color::ButtonFace();
    ui::Color los = ui::Color::ButtonFace(), lof = ui::Color::ButtonFace(), ais = ui::Color::ButtonFace(),
              ra = ui::Color::ButtonFace(), lot = ui::Color::ButtonFace();
  };

  // The file is "<title> <port>.log" in lower case in `directory`; only the
  // port name's last path part is used, so "/dev/ttyUSB0" logs beside the
  // program, not into the device folder.
  TLog(const QString& programTitle, const QString& portName, bool enabled, const QString& directory,
       Now now = &QDateTime::currentDateTime);

  static QString FileName(const QString& programTitle, const QString& portName);
  const QString& Path() const { return path_; }
  bool Enabled() const { return enabled_; }

  // Writes one line. A file that cannot be read or replaced loses this line
  // only; nothing is reported.
  void Add(const QString& text);
  // The change detector, run at the end of every main-window completion.
  void Monitor(const Window& window);
  // Set while statistics are polled cyclically or a loop test runs: no summary then.
  void SetMonitoring(bool on) { monitoring_ = on; }

  // Event texts that carry no value.
  static constexpr const char* kNoConnection = "No connection to device over port 3";
  static constexpr const char* kConnection = "There is connection to device over port 3";
  static constexpr const char* kLineDown = "Line DOWN";

  // Tri-state of a logged condition.
  enum State : std::uint8_t { kUnknown = 1, kUp = 2, kDown = 3 };
  // Alarms use kUp for present, kDown for absent.

 private:
  bool Write(const QByteArray& line);
  QString Summary(const Window& w) const;
  void LineEvents(const Window& w);
  void PortEvents(const Window& w);
  void PortChange(std::uint8_t& stored, std::uint8_t now, const char* up, const char* down);
  void E1Events(const Window& w);

  QString path_;
  bool enabled_;
  Now now_;
  std::int32_t lineNumber_ = 1;
  // The blank gap goes before the first line that reaches the file.
  bool gapPending_ = true;
  bool monitoring_ = false;
  bool connected_ = true;
  std::uint8_t line_ = kUnknown, port2_ = kUnknown, e1_ = kUnknown, ethernet_ = kUnknown;
  std::uint8_t los_ = kUnknown, lof_ = kUnknown, lot_ = kUnknown, ra_ = kUnknown, ais_ = kUnknown;
  QString lastQuality_, lastLineRate_, lastErrorsTime_, lastNoLineTime_;
  std::array<QString, 4> lastParameters_;
};

}  // namespace rkvt
