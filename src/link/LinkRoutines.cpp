#include "link/LinkRoutines.h"

#include <algorithm>
#include <array>

namespace rkvt {

LinkRoutines::LinkRoutines(SerialPort& port, std::uint8_t address, const std::atomic<bool>& stop,
                           LinkTimings timings)
    : port_(port), address_(address), stop_(stop), timings_(timings) {}

FaultKind LinkRoutines::ReadFrame(Framing framing, int timeoutMs, Frame& frame) {
  std::span<std::uint8_t> into = framing == Framing::Loader ? std::span<std::uint8_t>(frame) : std::span(chars_);
  const std::size_t got = port_.Read(into, timeoutMs, stop_);
  // A stop request ends the wait and makes the attempt invalid, whatever arrived.
  if (stop_.load()) return FaultKind::Stopped;
  if (got == 0) return FaultKind::NoReply;
  if (got != into.size()) return FaultKind::CutShort;
  if (framing == Framing::Working) frame = DecodeWorking(chars_);
  if (frame[0] != kFrameStart) return FaultKind::BadStart;
  if (!ChecksumMatches(frame)) return FaultKind::BadChecksum;
  return FaultKind::None;
}

FaultKind LinkRoutines::Attempt(const Frame& request, Exchange exchange, Frame& reply) {
  if (exchange.purge) port_.Purge();
  if (exchange.framing == Framing::Loader) {
    port_.Write(request);
  } else {
    port_.Write(EncodeWorking(request));
  }
  FaultKind fault = FaultKind::None;
  for (int i = 0; i < exchange.reads; ++i) fault = ReadFrame(exchange.framing, timings_.acknowledgementMs, reply);
  if (fault != FaultKind::None) return fault;
  if (reply[2] != request[2]) return FaultKind::WrongEcho;
  if (reply[3] != 0) return FaultKind::BadStatus;
  return FaultKind::None;
}

Exchanged LinkRoutines::Attempts(const Frame& request, Exchange exchange, Frame& reply) {
  FrameFault fault{.stage = FaultStage::Acknowledgement};
  for (int attempt = 1; attempt <= timings_.attempts; ++attempt) {
    fault.kind = Attempt(request, exchange, reply);
    fault.attempts = static_cast<std::uint8_t>(attempt);
    if (fault.kind == FaultKind::None) return {};
  }
  if (fault.kind == FaultKind::WrongEcho) fault = {fault.kind, fault.stage, fault.attempts, reply[2], request[2]};
  if (fault.kind == FaultKind::BadStatus) fault = {fault.kind, fault.stage, fault.attempts, reply[3], 0};
  return {fault};
}

LinkRoutines::LoaderReply LinkRoutines::LoaderQuery(std::uint8_t code) {
  Frame f{};
  LoaderReply answer{Attempts(BuildRequest(address_, code, {}), {Framing::Loader, true, 1}, f)};
  if (answer) {
    answer.values = {static_cast<std::uint16_t>(f[5] << 8 | f[6]), static_cast<std::uint16_t>(f[7] << 8 | f[8])};
  }
  return answer;
}

Exchanged LinkRoutines::LoaderCommand(std::uint8_t code) {
  Frame reply{};
  return Attempts(BuildRequest(address_, code, {}), {Framing::Loader, true, 1}, reply);
}

Exchanged LinkRoutines::LoaderWriteBlock(std::uint8_t code, std::uint16_t offset,
                                         std::span<const std::uint8_t, kBlockDataSize> data) {
  if (std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == 0xFF; })) return {};
  std::array<std::uint8_t, 2 + kBlockDataSize> payload{};
  payload[0] = static_cast<std::uint8_t>(offset >> 8);
  payload[1] = static_cast<std::uint8_t>(offset & 0xFF);
  std::copy(data.begin(), data.end(), payload.begin() + 2);
  Frame reply{};
  return Attempts(BuildRequest(address_, code, payload), {Framing::Loader, true, 1}, reply);
}

std::span<const std::uint8_t> LinkRoutines::RequestData(std::span<const std::uint8_t> buffer,
                                                        std::size_t count) {
  count = std::min(count, kFrameDataMax);
  if (buffer.size() <= 1) return {};
  return buffer.subspan(1, std::min(count, buffer.size() - 1));
}

Exchanged LinkRoutines::SendRequest(std::uint8_t code, std::span<const std::uint8_t> buffer,
                                    std::size_t count) {
  Frame reply{};
  return Attempts(BuildRequest(address_, code, RequestData(buffer, count)), {Framing::Working, true, 1}, reply);
}

Exchanged LinkRoutines::SendRequestTwoReplies(std::uint8_t code, std::span<const std::uint8_t> buffer,
                                              std::size_t count) {
  Frame reply{};
  return Attempts(BuildRequest(address_, code, RequestData(buffer, count)), {Framing::Working, false, 2}, reply);
}

Exchanged LinkRoutines::ReadAnswer(std::span<std::uint8_t, kAnswerRecordSize> destination) {
  Frame reply{};
  const FaultKind kind = ReadFrame(Framing::Working, timings_.answerMs, reply);
  if (kind != FaultKind::None) return {{.kind = kind, .stage = FaultStage::Answer}};
  std::copy_n(reply.begin() + 1, kAnswerRecordSize, destination.begin());
  return {};
}

}  // namespace rkvt
