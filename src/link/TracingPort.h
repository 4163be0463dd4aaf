#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "link/Frame.h"
#include "link/SerialPort.h"

namespace rkvt {

// Puts every frame that crosses the port on a trace, one line each: time
// since the trace began, direction, framing, the frame's bytes in hex and
// what the bytes say (time-out, partial, bad checksum, echo, status, attempt
// n of the routine's attempts). Wraps the real port; runs on the worker thread.
class TracingPort final : public SerialPort {
 public:
  using Sink = std::function<void(const QString& line)>;
  // `clock` runs from the start of the program, so several commands share one time line.
  TracingPort(std::unique_ptr<SerialPort> port, QString portName, int attempts, const QElapsedTimer& clock, Sink sink);

  void Open() override;
  void Close() override;
  void Purge() override;
  void Write(std::span<const std::uint8_t> bytes) override;
  std::size_t Read(std::span<std::uint8_t> buffer, int totalTimeoutMs, const std::atomic<bool>& stop) override;

  // What a reply says, judged against the request that went before it.
  // An acknowledgement is judged by its echo; a later reply (an answer) only
  // by its start byte and checksum.
  static QString Verdict(const Frame& reply, const std::optional<Frame>& request, bool acknowledgement);

 private:
  void Emit(const QString& what);
  template <typename Call>
  auto Traced(const char* operation, Call call);

  std::unique_ptr<SerialPort> port_;
  QString portName_;
  int attempts_;
  const QElapsedTimer& clock_;
  Sink sink_;
  std::optional<Frame> lastRequest_;
  std::vector<std::uint8_t> lastWritten_;
  int attempt_ = 0;
  int readsSinceWrite_ = 0;
};

// "E7 D1 03 00": the bytes in upper-case hex, blank between.
QString HexLine(std::span<const std::uint8_t> bytes);

}  // namespace rkvt
