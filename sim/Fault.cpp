#include "sim/Fault.h"

namespace rkvt::sim {

std::vector<std::uint8_t> OnLine(const Frame& frame, bool working) {
  if (!working) return {frame.begin(), frame.end()};
  const WorkingFrame chars = EncodeWorking(frame);
  return {chars.begin(), chars.end()};
}

std::vector<std::uint8_t> ApplyFault(Fault fault, Frame frame, bool working) {
  switch (fault) {
    case Fault::BadChecksum: frame[30] ^= 0xFF; break;
    case Fault::WrongEcho: frame[2] ^= 0x40; SealFrame(frame); break;
    case Fault::NonZeroStatus: frame[3] = 1; SealFrame(frame); break;
    case Fault::WrongAddress: frame[1] ^= 0x30; SealFrame(frame); break;
    case Fault::WrongResponse: frame[2] = static_cast<std::uint8_t>(frame[2] + 1); SealFrame(frame); break;
    case Fault::WrongRepeat: frame[4] ^= 0x0F; SealFrame(frame); break;
    case Fault::Garbled: {
      auto bytes = OnLine(frame, working);
      for (std::size_t i = 7; i < bytes.size(); i += 9) bytes[i] ^= 0x5A;
      return bytes;
    }
    case Fault::CutShort: {
      auto bytes = OnLine(frame, working);
      bytes.resize(bytes.size() / 2);
      return bytes;
    }
    case Fault::Noise: {
      std::vector<std::uint8_t> bytes{0x00, 0x7F, 0x35};
      const auto reply = OnLine(frame, working);
      bytes.insert(bytes.end(), reply.begin(), reply.end());
      return bytes;
    }
    case Fault::NoReply:
    case Fault::Vanish: return {};
    case Fault::Late: break;
  }
  return OnLine(frame, working);
}

}  // namespace rkvt::sim
