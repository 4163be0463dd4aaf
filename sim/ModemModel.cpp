#include "sim/ModemModel.h"

#include <span>

namespace rkvt::sim {

namespace {
constexpr std::uint8_t kIdentifyCode = 3;
constexpr std::uint8_t kResetCode = 2;
constexpr std::uint8_t kFirstErase = 23;
constexpr std::uint8_t kFirstWrite = 43;

bool AddressedToRemote(const Frame& request) { return (request[1] & 0x30) == 0x00; }
bool IsErase(std::uint8_t code) { return code >= kFirstErase && code < kFirstErase + FlashMemory::kSegments; }
bool IsWrite(std::uint8_t code) { return code >= kFirstWrite && code < kFirstWrite + FlashMemory::kSegments; }
bool IsFlashStep(const Frame& request) {
  return (request[1] & 0x0F) == 1 && (IsErase(request[2]) || IsWrite(request[2]));
}
}  // namespace

ModemModel::ModemModel(Identity identity)
    : identity_(identity),
      local_(SoftwareLevel(identity), ModemVariant(identity)),
      remote_(SoftwareLevel(identity), ModemVariant(identity)) {}

Frame ModemModel::Acknowledgement(const Frame& request, std::uint8_t status) {
  Frame ack{};
  ack[0] = kFrameStart;
  ack[1] = ExpectedAnswerAddress(request[1]);
  ack[2] = request[2];
  ack[3] = status;
  SealFrame(ack);
  return ack;
}

Frame ModemModel::Answer(const Frame& request, std::uint8_t response) {
  Frame answer{};
  answer[0] = kFrameStart;
  answer[1] = ExpectedAnswerAddress(request[1]);
  answer[2] = response;
  SealFrame(answer);
  return answer;
}

void ModemModel::Settle() {
  const auto now = clock_.Now();
  local_.Advance(now);
  remote_.Advance(now);
}

std::vector<Reply> ModemModel::Handle(const Frame& request) {
  if (!ChecksumMatches(request)) return {};
  Settle();
  if (identity_.loader) return HandleLoader(request);
  const Reply ack{ReplyKind::Acknowledgement, Acknowledgement(request)};
  const bool remote = AddressedToRemote(request);
  if (remote && !remoteIdentity_) return {ack};
  if (IsFlashStep(request)) {
    // Through the working firmware each step gets two replies; the program
    // judges the second.
    if (!remote) ApplyFlashStep(request);
    return {ack, ack};
  }
  ModemPeer& peer = remote ? remote_ : local_;
  std::vector<Reply> replies{ack};
  if (auto answer = peer.Answer(remote ? *remoteIdentity_ : identity_, request, remote))
    replies.push_back({ReplyKind::Answer, *answer});
  // Each end of the line knows the test the other end runs.
  local_.farTest = remote_.loops.Connected();
  remote_.farTest = local_.loops.Connected();
  return replies;
}

std::vector<Reply> ModemModel::HandleLoader(const Frame& request) {
  Frame reply = Acknowledgement(request);
  const std::uint8_t code = request[2];
  if (code == kIdentifyCode) {
    reply[5] = identity_.reserved;
    reply[6] = identity_.type;
    reply[7] = identity_.version;
    reply[8] = static_cast<std::uint8_t>(identity_.third);
    SealFrame(reply);
  } else if (code == kResetCode) {
    ++loaderResets_;
    // The acknowledgement still leaves in loader framing; the firmware
    // takes over from the next request.
    if (firmwareAfterReset_) identity_ = *firmwareAfterReset_;
  } else if (IsErase(code) || IsWrite(code)) {
    ApplyFlashStep(request);
  }
  return {{ReplyKind::Acknowledgement, reply}};
}

void ModemModel::ApplyFlashStep(const Frame& request) {
  const std::uint8_t code = request[2];
  if (IsErase(code)) {
    flash_.Erase(code - kFirstErase);
    return;
  }
  const auto offset = static_cast<std::uint16_t>((request[3] << 8) | request[4]);
  flash_.Write(code - kFirstWrite, offset, std::span<const std::uint8_t, FlashMemory::kBlockSize>(request.data() + 5, 24));
}

}  // namespace rkvt::sim
