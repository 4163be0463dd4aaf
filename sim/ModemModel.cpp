#include "ModemModel.h"

namespace rkvt::sim {

namespace {
constexpr std::uint8_t kIdentifyCode = 3;
constexpr std::uint8_t kIdentifySubAddress = 1;

bool AddressedToRemote(const Frame& request) { return (request[1] & 0x30) == 0x00; }
std::uint8_t SubAddress(const Frame& request) { return request[1] & 0x0F; }
bool IsFlashStep(const Frame& request) {
  const std::uint8_t code = request[2];
  return SubAddress(request) == 1 && ((code >= 23 && code <= 27) || (code >= 43 && code <= 47));
}
}  // namespace

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

void ModemModel::PutIdentification(Frame& frame, const Identity& identity) {
  frame[5] = identity.reserved;
  frame[6] = identity.type;
  frame[7] = identity.version;
  frame[8] = static_cast<std::uint8_t>(identity.third);
}

std::vector<Reply> ModemModel::Handle(const Frame& request) {
  if (!ChecksumMatches(request)) return {};
  if (identity_.loader) return HandleLoader(request);
  if (AddressedToRemote(request)) {
    if (!remote_) return {{ReplyKind::Acknowledgement, Acknowledgement(request)}};
    return HandleWorking(request, *remote_);
  }
  return HandleWorking(request, identity_);
}

std::vector<Reply> ModemModel::HandleLoader(const Frame& request) {
  Frame reply = Acknowledgement(request);
  if (request[2] == kIdentifyCode) {
    PutIdentification(reply, identity_);
    SealFrame(reply);
  }
  return {{ReplyKind::Acknowledgement, reply}};
}

std::vector<Reply> ModemModel::HandleWorking(const Frame& request, const Identity& identity) {
  std::vector<Reply> replies{{ReplyKind::Acknowledgement, Acknowledgement(request)}};
  if (IsFlashStep(request)) {
    // Erase and write steps through the working firmware get two replies;
    // the program judges the second.
    replies.push_back({ReplyKind::Acknowledgement, Acknowledgement(request)});
    return replies;
  }
  if (request[2] == kIdentifyCode && SubAddress(request) == kIdentifySubAddress) {
    Frame answer = Answer(request, kIdentifyCode);
    PutIdentification(answer, identity);
    answer[10] = identity.variantCode;
    SealFrame(answer);
    replies.push_back({ReplyKind::Answer, answer});
  }
  return replies;
}

}  // namespace rkvt::sim
