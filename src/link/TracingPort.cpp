#include "link/TracingPort.h"

#include <QByteArray>
#include <QScopeGuard>
#include <QStringList>
#include <algorithm>

#include "link/PortError.h"

namespace rkvt {

namespace {

bool IsWorking(std::size_t size) { return size == kWorkingFrameSize; }

QString Framing(std::size_t size) {
  return IsWorking(size) ? QStringLiteral("working") : QStringLiteral("loader ");
}

// The frame behind the bytes on the line; the working framing is decoded.
std::optional<Frame> FrameOf(std::span<const std::uint8_t> bytes) {
  if (IsWorking(bytes.size())) return DecodeWorking(bytes.first<kWorkingFrameSize>());
  if (bytes.size() != kFrameSize) return std::nullopt;
  Frame frame{};
  std::copy(bytes.begin(), bytes.end(), frame.begin());
  return frame;
}

QString Hex2(std::uint8_t byte) { return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper(); }

}  // namespace

QString HexLine(std::span<const std::uint8_t> bytes) {
  const QByteArray raw(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  return QString::fromLatin1(raw.toHex(' ').toUpper());
}

TracingPort::TracingPort(std::unique_ptr<SerialPort> port, QString portName, int attempts, const QElapsedTimer& clock,
                         Sink sink)
    : port_(std::move(port)), portName_(std::move(portName)), attempts_(attempts), clock_(clock), sink_(std::move(sink)) {}

void TracingPort::Emit(const QString& what) {
  sink_(QStringLiteral("%1 s  %2").arg(static_cast<double>(clock_.nsecsElapsed()) / 1e9, 9, 'f', 3).arg(what));
}

// A port error goes on the trace too, then on its way as before.
template <typename Call>
auto TracingPort::Traced(const char* operation, Call call) {
  try {
    return call();
  } catch (const PortError& error) {
    Emit(QStringLiteral("!! %1 failed: %2").arg(QLatin1String(operation), QString::fromStdString(error.Reason())));
    throw;
  }
}

void TracingPort::Open() {
  lastRequest_.reset();
  lastWritten_.clear();
  attempt_ = 0;
  Traced("open", [this] { port_->Open(); });
  Emit(QStringLiteral("== open %1").arg(portName_));
}

void TracingPort::Close() {
  port_->Close();
}

void TracingPort::Purge() { Traced("purge", [this] { port_->Purge(); }); }

void TracingPort::Write(std::span<const std::uint8_t> bytes) {
  const std::optional<Frame> frame = FrameOf(bytes);
  // The same request again is the routine's next attempt.
  // The same bytes again are the routine's next attempt (a loader query after
  // the working attempts carries the same frame in the other framing).
  attempt_ = std::equal(bytes.begin(), bytes.end(), lastWritten_.begin(), lastWritten_.end()) ? attempt_ + 1 : 1;
  lastWritten_.assign(bytes.begin(), bytes.end());
  lastRequest_ = frame;
  readsSinceWrite_ = 0;
  const QString shown = frame ? HexLine(*frame) : HexLine(bytes);
  Emit(QStringLiteral("-> %1  %2  attempt %3 of %4").arg(Framing(bytes.size()), shown).arg(attempt_).arg(attempts_));
  Traced("write", [&] { port_->Write(bytes); });
}

std::size_t TracingPort::Read(std::span<std::uint8_t> buffer, int totalTimeoutMs, const std::atomic<bool>& stop) {
  const std::size_t got = Traced("read", [&] { return port_->Read(buffer, totalTimeoutMs, stop); });
  const QString framing = Framing(buffer.size());
  const auto counted = qScopeGuard([this] { ++readsSinceWrite_; });
  if (got == 0) {
    Emit(QStringLiteral("<- %1  %2").arg(framing, stop.load() ? QStringLiteral("stopped")
                                                              : QStringLiteral("time-out: nothing within %1 ms")
                                                                    .arg(totalTimeoutMs)));
  } else if (got < buffer.size()) {
    Emit(QStringLiteral("<- %1  %2  partial: %3 of %4 bytes%5")
             .arg(framing, HexLine(buffer.first(got)))
             .arg(got)
             .arg(buffer.size())
             .arg(stop.load() ? QStringLiteral(", stopped") : QStringLiteral(", time-out")));
  } else {
    const Frame reply = *FrameOf(buffer);
    Emit(QStringLiteral("<- %1  %2  %3").arg(framing, HexLine(reply), Verdict(reply, lastRequest_, readsSinceWrite_ == 0)));
  }
  return got;
}

QString TracingPort::Verdict(const Frame& reply, const std::optional<Frame>& request, bool acknowledgement) {
  if (reply[0] != kFrameStart) return QStringLiteral("no start byte");
  if (!ChecksumMatches(reply)) return QStringLiteral("bad checksum");
  if (!request) return QStringLiteral("checksum ok");
  if (!acknowledgement) return QStringLiteral("answer, code %1").arg(Hex2(reply[2]));
  QStringList notes;
  const std::uint8_t expected = ExpectedAnswerAddress((*request)[1]);
  if (reply[1] != expected) notes << QStringLiteral("wrong address %1, not %2").arg(Hex2(reply[1]), Hex2(expected));
  if (reply[2] == (*request)[2]) {
    notes << (reply[3] == 0 ? QStringLiteral("echo ok") : QStringLiteral("non-zero status %1").arg(Hex2(reply[3])));
  } else {
    // Either an answer with its response code, or an acknowledgement with a wrong echo.
    notes << QStringLiteral("code %1, not the echo %2").arg(Hex2(reply[2]), Hex2((*request)[2]));
  }
  return notes.join(QStringLiteral(", "));
}

}  // namespace rkvt
