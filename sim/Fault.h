#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/ModemModel.h"

namespace rkvt::sim {

enum class Fault {
  NoReply,        // the reply is not sent
  Garbled,        // characters replaced on the way
  BadChecksum,    // checksum low byte inverted
  WrongEcho,      // another code byte, checksum right
  NonZeroStatus,  // status byte 1, checksum right
  WrongAddress,   // address byte of another station, checksum right
  WrongResponse,  // response code one higher, checksum right
  WrongRepeat,    // frame byte 4 (the repeated sub-code) altered, checksum right
  Late,           // sent after delayMs
  CutShort,       // only the first half is sent
  Noise,          // a few stray bytes before the reply
  Vanish,         // the port disappears instead of replying
};

// Which replies a fault hits. Empty fields match everything.
struct FaultRule {
  Fault fault;
  std::optional<std::uint8_t> code;   // request code byte
  std::optional<int> frameNumber;     // 1-based number of the received frame
  std::optional<ReplyKind> reply;
  int times = -1;                     // replies it still hits; -1 for ever
  int delayMs = 0;                    // for Late
  std::optional<int> replyNumber;     // 1-based among the replies to one frame
};

// The bytes of a frame as they go on the line in the given framing.
std::vector<std::uint8_t> OnLine(const Frame& frame, bool working);

// Applies a fault to a reply; returns the bytes to put on the line.
std::vector<std::uint8_t> ApplyFault(Fault fault, Frame frame, bool working);

}  // namespace rkvt::sim
