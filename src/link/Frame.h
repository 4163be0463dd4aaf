#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace rkvt {

// One frame on the line: start byte, address, code, 26 data bytes, checksum.
inline constexpr std::size_t kFrameSize = 31;
// The working framing sends every byte as two characters 0x30..0x3F.
inline constexpr std::size_t kWorkingFrameSize = 2 * kFrameSize;
inline constexpr std::size_t kFrameDataMax = 26;
// Bytes 1..28 of an accepted answer are kept as the answer record.
inline constexpr std::size_t kAnswerRecordSize = 28;
inline constexpr std::uint8_t kFrameStart = 0xE7;

using Frame = std::array<std::uint8_t, kFrameSize>;
using WorkingFrame = std::array<std::uint8_t, kWorkingFrameSize>;

// Address bytes of requests from this program (station 3).
std::uint8_t RequestAddress(bool local, std::uint8_t subAddress);
// The answer swaps the sender and addressee station fields of the request.
std::uint8_t ExpectedAnswerAddress(std::uint8_t requestAddress);

// Request frame: data beyond 26 bytes is cut, the rest of the data area is zero.
Frame BuildRequest(std::uint8_t address, std::uint8_t code, std::span<const std::uint8_t> data);
// Any frame with bytes 1..28 given; computes and stores the checksum.
void SealFrame(Frame& frame);

std::uint16_t StoredChecksum(const Frame& frame);
bool ChecksumMatches(const Frame& frame);

WorkingFrame EncodeWorking(const Frame& frame);
// Decoding looks only at the low four bits of each character.
Frame DecodeWorking(std::span<const std::uint8_t, kWorkingFrameSize> chars);
std::uint8_t DecodePair(std::uint8_t high, std::uint8_t low);

// An acknowledgement: start byte, the code sent echoed, status 0, checksum.
// The address byte is deliberately not examined.
bool IsValidAcknowledgement(const Frame& reply, std::uint8_t codeSent);
// An answer: start byte and checksum; the command judges the rest.
bool IsValidAnswer(const Frame& reply);

}  // namespace rkvt
