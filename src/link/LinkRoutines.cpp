#include "link/LinkRoutines.h"

#include <algorithm>
#include <array>

namespace rkvt {

LinkRoutines::LinkRoutines(SerialPort& port, std::uint8_t address, const std::atomic<bool>& stop,
                           LinkTimings timings)
    : port_(port), address_(address), stop_(stop), timings_(timings) {}

std::optional<Frame> LinkRoutines::ReadFrame(Framing framing, int timeoutMs) {
  if (framing == Framing::Loader) {
    Frame frame{};
    if (port_.Read(frame, timeoutMs, stop_) != frame.size()) return std::nullopt;
    return frame;
  }
  WorkingFrame chars{};
  if (port_.Read(chars, timeoutMs, stop_) != chars.size()) return std::nullopt;
  return DecodeWorking(chars);
}

std::optional<Frame> LinkRoutines::Attempt(const Frame& request, Exchange exchange) {
  if (exchange.purge) port_.Purge();
  if (exchange.framing == Framing::Loader) {
    port_.Write(request);
  } else {
    port_.Write(EncodeWorking(request));
  }
  std::optional<Frame> reply;
  for (int i = 0; i < exchange.reads; ++i) reply = ReadFrame(exchange.framing, timings_.acknowledgementMs);
  // A stop request ends the wait and makes the attempt invalid, whatever arrived.
  if (stop_.load() || !reply || !IsValidAcknowledgement(*reply, request[2])) return std::nullopt;
  return reply;
}

std::optional<Frame> LinkRoutines::Attempts(const Frame& request, Exchange exchange) {
  for (int attempt = 0; attempt < timings_.attempts; ++attempt) {
    if (auto reply = Attempt(request, exchange)) return reply;
  }
  return std::nullopt;
}

std::optional<LinkRoutines::LoaderValues> LinkRoutines::LoaderQuery(std::uint8_t code) {
  const auto reply = Attempts(BuildRequest(address_, code, {}), {Framing::Loader, true, 1});
  if (!reply) return std::nullopt;
  const Frame& f = *reply;
  return LoaderValues{static_cast<std::uint16_t>(f[5] << 8 | f[6]),
                      static_cast<std::uint16_t>(f[7] << 8 | f[8])};
}

bool LinkRoutines::LoaderCommand(std::uint8_t code) {
  return Attempts(BuildRequest(address_, code, {}), {Framing::Loader, true, 1}).has_value();
}

bool LinkRoutines::LoaderWriteBlock(std::uint8_t code, std::uint16_t offset,
                                    std::span<const std::uint8_t, kBlockDataSize> data) {
  if (std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == 0xFF; })) return true;
  std::array<std::uint8_t, 2 + kBlockDataSize> payload{};
  payload[0] = static_cast<std::uint8_t>(offset >> 8);
  payload[1] = static_cast<std::uint8_t>(offset & 0xFF);
  std::copy(data.begin(), data.end(), payload.begin() + 2);
  return Attempts(BuildRequest(address_, code, payload), {Framing::Loader, true, 1}).has_value();
}

std::span<const std::uint8_t> LinkRoutines::RequestData(std::span<const std::uint8_t> buffer,
                                                        std::size_t count) {
  count = std::min(count, kFrameDataMax);
  if (buffer.size() <= 1) return {};
  return buffer.subspan(1, std::min(count, buffer.size() - 1));
}

bool LinkRoutines::SendRequest(std::uint8_t code, std::span<const std::uint8_t> buffer,
                               std::size_t count) {
  const Frame request = BuildRequest(address_, code, RequestData(buffer, count));
  return Attempts(request, {Framing::Working, true, 1}).has_value();
}

bool LinkRoutines::SendRequestTwoReplies(std::uint8_t code, std::span<const std::uint8_t> buffer,
                                         std::size_t count) {
  const Frame request = BuildRequest(address_, code, RequestData(buffer, count));
  return Attempts(request, {Framing::Working, false, 2}).has_value();
}

bool LinkRoutines::ReadAnswer(std::span<std::uint8_t, kAnswerRecordSize> destination) {
  const auto reply = ReadFrame(Framing::Working, timings_.answerMs);
  if (stop_.load() || !reply || !IsValidAnswer(*reply)) return false;
  std::copy_n(reply->begin() + 1, kAnswerRecordSize, destination.begin());
  return true;
}

}  // namespace rkvt
