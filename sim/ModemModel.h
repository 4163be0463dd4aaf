#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/FlashMemory.h"
#include "link/Frame.h"
#include "sim/FrameParser.h"
#include "sim/Identity.h"
#include "sim/ModemClock.h"
#include "sim/ModemPeer.h"

namespace rkvt::sim {

enum class ReplyKind { Acknowledgement, Answer };

struct Reply {
  ReplyKind kind;
  Frame frame;
};

// The modem's behaviour: which replies a request gets and what it changes.
// The line side (pty, framing, faults, pacing) lives in ModemEmulator.
class ModemModel {
 public:
  ModemModel() : ModemModel(Identity{}) {}
  explicit ModemModel(Identity identity);

  Identity& LocalIdentity() { return identity_; }
  const Identity& LocalIdentity() const { return identity_; }
  // The modem at the far end of the line; without one, remote requests are
  // acknowledged by the local modem and never answered.
  std::optional<Identity>& RemoteIdentity() { return remoteIdentity_; }
  const std::optional<Identity>& RemoteIdentity() const { return remoteIdentity_; }

  ModemPeer& Local() { return local_; }
  const ModemPeer& Local() const { return local_; }
  // Used while RemoteIdentity is set.
  ModemPeer& Remote() { return remote_; }
  const ModemPeer& Remote() const { return remote_; }

  // The local modem's firmware memory; the remote one is never written.
  FlashMemory& Flash() { return flash_; }
  const FlashMemory& Flash() const { return flash_; }

  ModemClock& Clock() { return clock_; }
  // Brings every counter to the modem's present time; done before each
  // request and before a test changes the model.
  void Settle();

  // After a reset through its loader the modem starts this firmware; without
  // one it stays in its loader.
  std::optional<Identity>& FirmwareAfterLoaderReset() { return firmwareAfterReset_; }
  int LoaderResets() const { return loaderResets_; }

  Framing CurrentFraming() const { return identity_.loader ? Framing::Loader : Framing::Working; }

  std::vector<Reply> Handle(const Frame& request);

  // Helpers shared with fault injection and tests.
  static Frame Acknowledgement(const Frame& request, std::uint8_t status = 0);
  static Frame Answer(const Frame& request, std::uint8_t response);

 private:
  std::vector<Reply> HandleLoader(const Frame& request);
  void ApplyFlashStep(const Frame& request);

  Identity identity_;
  std::optional<Identity> remoteIdentity_;
  ModemPeer local_;
  ModemPeer remote_;
  FlashMemory flash_;
  ModemClock clock_;
  std::optional<Identity> firmwareAfterReset_;
  int loaderResets_ = 0;
};

}  // namespace rkvt::sim
