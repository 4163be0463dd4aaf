#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <vector>

#include "ModemEmulator.h"
#include "RawLine.h"

namespace rkvt::sim::test {

using namespace std::chrono_literals;

inline Frame Request(std::uint8_t subAddress, std::uint8_t code, std::vector<std::uint8_t> data = {},
                     bool local = true) {
  return BuildRequest(RequestAddress(local, subAddress), code, data);
}

// The replies of the model to one request, without a line in between.
inline std::optional<Frame> AnswerOf(ModemModel& model, const Frame& request) {
  for (const Reply& reply : model.Handle(request))
    if (reply.kind == ReplyKind::Answer) return reply.frame;
  return std::nullopt;
}

// Record byte n of an answer is frame byte n + 1.
inline std::uint8_t RecordByte(const Frame& answer, std::size_t n) { return answer[n + 1]; }

inline std::uint32_t Big32(const Frame& answer, std::size_t recordByte) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | RecordByte(answer, recordByte + i);
  return v;
}

// An emulator and the raw slave side of its pty.
class ModemOnLine : public ::testing::Test {
 protected:
  explicit ModemOnLine(ModemModel model = ModemModel()) : modem(std::move(model)), line(modem.PortPath()) {}

  struct Exchange {
    std::optional<Frame> ack;
    std::optional<Frame> answer;
  };

  // A working-framing request: its acknowledgement, then an answer if one comes.
  Exchange Ask(const Frame& request, std::chrono::milliseconds answerWait = 100ms) {
    line.Send(request, Framing::Working);
    Exchange e;
    e.ack = line.ReadFrame(Framing::Working);
    e.answer = line.ReadFrame(Framing::Working, answerWait);
    return e;
  }
  // The answer of an exchange whose acknowledgement must be right.
  Frame AnswerTo(const Frame& request) {
    const Exchange e = Ask(request);
    EXPECT_TRUE(e.ack && IsValidAcknowledgement(*e.ack, request[2]));
    EXPECT_TRUE(e.answer.has_value()) << "no answer to code " << int(request[2]);
    return e.answer.value_or(Frame{});
  }

  ModemEmulator modem;
  RawLine line;
};

}  // namespace rkvt::sim::test
