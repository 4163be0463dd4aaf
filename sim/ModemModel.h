#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "Frame.h"
#include "FrameParser.h"

namespace rkvt::sim {

// What the modem says about itself in the identify answer and the loader query.
struct Identity {
  std::uint8_t reserved = 0;
  std::uint8_t type = 6;
  std::uint8_t version = 0x31;  // major digit in bits 4-7, minor digit in bits 0-3
  char third = '5';             // the last version digit, as a character
  std::uint8_t variantCode = 0;
  bool loader = false;          // runs its loader: loader framing only
};

enum class ReplyKind { Acknowledgement, Answer };

struct Reply {
  ReplyKind kind;
  Frame frame;
};

// The modem's behaviour: which replies a request gets. The line side (pty,
// framing, faults, pacing) lives in ModemEmulator.
class ModemModel {
 public:
  ModemModel() = default;
  explicit ModemModel(Identity identity) : identity_(identity) {}

  Identity& LocalIdentity() { return identity_; }
  const Identity& LocalIdentity() const { return identity_; }
  // The modem at the far end of the line; without one, remote requests are
  // acknowledged by the local modem and never answered.
  std::optional<Identity>& RemoteIdentity() { return remote_; }

  Framing CurrentFraming() const { return identity_.loader ? Framing::Loader : Framing::Working; }

  std::vector<Reply> Handle(const Frame& request);

  // Helpers shared with fault injection and tests.
  static Frame Acknowledgement(const Frame& request, std::uint8_t status = 0);
  static Frame Answer(const Frame& request, std::uint8_t response);

 private:
  std::vector<Reply> HandleLoader(const Frame& request);
  std::vector<Reply> HandleWorking(const Frame& request, const Identity& identity);
  static void PutIdentification(Frame& frame, const Identity& identity);

  Identity identity_;
  std::optional<Identity> remote_;
};

}  // namespace rkvt::sim
