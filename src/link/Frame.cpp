#include "link/Frame.h"

#include <algorithm>

#include "link/FrameChecksum.h"

namespace rkvt {

namespace {
constexpr std::size_t kChecksumHigh = 29;
constexpr std::size_t kChecksumLow = 30;
}  // namespace

std::uint8_t RequestAddress(bool local, std::uint8_t subAddress) {
  return static_cast<std::uint8_t>(0xC0 | (local ? 0x10 : 0x00) | (subAddress & 0x0F));
}

std::uint8_t ExpectedAnswerAddress(std::uint8_t a) {
  return static_cast<std::uint8_t>(((a * 4) & 0xC0) | ((a / 4) & 0x30) | (a & 0x0F));
}

void SealFrame(Frame& frame) {
  const std::uint16_t sum = FrameChecksum(std::span(frame).subspan(1, kAnswerRecordSize));
  frame[kChecksumHigh] = static_cast<std::uint8_t>(sum >> 8);
  frame[kChecksumLow] = static_cast<std::uint8_t>(sum & 0xFF);
}

Frame BuildRequest(std::uint8_t address, std::uint8_t code, std::span<const std::uint8_t> data) {
  Frame frame{};
  frame[0] = kFrameStart;
  frame[1] = address;
  frame[2] = code;
  const std::size_t count = std::min(data.size(), kFrameDataMax);
  std::copy_n(data.begin(), count, frame.begin() + 3);
  SealFrame(frame);
  return frame;
}

std::uint16_t StoredChecksum(const Frame& frame) {
  return static_cast<std::uint16_t>(frame[kChecksumHigh] << 8 | frame[kChecksumLow]);
}

bool ChecksumMatches(const Frame& frame) {
  return FrameChecksum(std::span(frame).subspan(1, kAnswerRecordSize)) == StoredChecksum(frame);
}

WorkingFrame EncodeWorking(const Frame& frame) {
  WorkingFrame chars{};
  for (std::size_t i = 0; i < kFrameSize; ++i) {
    chars[2 * i] = static_cast<std::uint8_t>(0x30 | (frame[i] >> 4));
    chars[2 * i + 1] = static_cast<std::uint8_t>(0x30 | (frame[i] & 0x0F));
  }
  return chars;
}

std::uint8_t DecodePair(std::uint8_t high, std::uint8_t low) {
  return static_cast<std::uint8_t>(((high & 0x0F) << 4) | (low & 0x0F));
}

Frame DecodeWorking(std::span<const std::uint8_t, kWorkingFrameSize> chars) {
  Frame frame{};
  for (std::size_t i = 0; i < kFrameSize; ++i) frame[i] = DecodePair(chars[2 * i], chars[2 * i + 1]);
  return frame;
}

bool IsValidAcknowledgement(const Frame& reply, std::uint8_t codeSent) {
  return reply[0] == kFrameStart && reply[2] == codeSent && reply[3] == 0 && ChecksumMatches(reply);
}

bool IsValidAnswer(const Frame& reply) {
  return reply[0] == kFrameStart && ChecksumMatches(reply);
}

}  // namespace rkvt
