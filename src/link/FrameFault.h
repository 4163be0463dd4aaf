#pragma once

#include <cstdint>

#include <QString>

namespace rkvt {

// Why an exchange failed. A routine makes up to three attempts and reports
// the fault of its last one.
enum class FaultKind : std::uint8_t {
  None,
  NoReply,        // nothing came within the time-out
  CutShort,       // part of a reply came, then the time-out
  BadStart,       // the first byte is not the start byte
  BadChecksum,
  WrongEcho,      // the acknowledgement echoes another code byte
  BadStatus,      // the acknowledgement's status byte is not 0
  WrongAddress,   // the answer comes from another station or sub-address
  WrongResponse,  // the answer carries another response code
  WrongRepeat,    // answer byte 3 is not what the command asked for
  Stopped,
  PortError,
};

// Which reply of an exchange the fault was found in.
enum class FaultStage : std::uint8_t { Acknowledgement, Answer };

struct FrameFault {
  FaultKind kind = FaultKind::None;
  FaultStage stage = FaultStage::Acknowledgement;
  std::uint8_t attempts = 0;  // attempts made, for acknowledgements
  std::uint8_t got = 0;       // the byte found and the one wanted, where a byte was wrong
  std::uint8_t wanted = 0;

  bool operator==(const FrameFault&) const = default;
};

// "no acknowledgement after 3 attempts", "bad checksum in the answer", ...
QString FaultText(const FrameFault& fault);

// What a transaction routine returns: true when it succeeded, else the fault.
struct Exchanged {
  FrameFault fault;
  explicit operator bool() const { return fault.kind == FaultKind::None; }
};

}  // namespace rkvt
