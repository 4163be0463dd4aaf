#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

#include "sim/ModemEmulator.h"

namespace rkvt::sim::test {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

inline Frame Request(std::uint8_t subAddress, std::uint8_t code, Bytes data = {}, bool local = true) {
  return BuildRequest(RequestAddress(local, subAddress), code, data);
}

// The answer of the model to one request, without a line in between.
inline std::optional<Frame> AnswerOf(ModemModel& model, const Frame& request) {
  for (const Reply& reply : model.Handle(request))
    if (reply.kind == ReplyKind::Answer) return reply.frame;
  return std::nullopt;
}

// Record byte n of an answer is frame byte n + 1.
inline std::uint8_t RecordByte(const Frame& answer, std::size_t n) { return answer[n + 1]; }

// Record bytes 0..27 of the state page (1 or 7, by the firmware's layout).
inline Bytes StatePage(ModemModel& model, bool local = true) {
  const std::uint8_t page = LayoutOf(local ? model.LocalIdentity() : *model.RemoteIdentity()) == PageLayout::First ? 1 : 7;
  const auto a = AnswerOf(model, Request(2, 3, {0, page}, local));
  EXPECT_TRUE(a && (*a)[2] == 0x29 && RecordByte(*a, 3) == page);
  return a ? Bytes(a->begin() + 1, a->begin() + 29) : Bytes(28);
}

// The program's end of the line with nothing of the program in it: raw bytes
// on the pty's slave side.
class RawLine {
 public:
  explicit RawLine(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
    if (fd_ < 0) throw std::runtime_error("cannot open " + path);
    termios tio{};
    tcgetattr(fd_, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd_, TCSANOW, &tio);
  }
  ~RawLine() { close(fd_); }
  RawLine(const RawLine&) = delete;

  void Send(const Frame& frame, Framing framing) {
    const Bytes bytes = OnLine(frame, framing == Framing::Working);
    if (write(fd_, bytes.data(), bytes.size()) != ssize_t(bytes.size())) throw std::runtime_error("write failed");
  }
  // Up to `count` bytes, fewer when `timeout` passes first.
  Bytes Read(std::size_t count, std::chrono::milliseconds timeout) {
    Bytes bytes;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (auto now = deadline - timeout; bytes.size() < count && now < deadline; now = std::chrono::steady_clock::now()) {
      pollfd pfd{fd_, POLLIN, 0};
      if (poll(&pfd, 1, int(std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count())) <= 0) continue;
      std::uint8_t buffer[256];
      const ssize_t n = read(fd_, buffer, std::min(sizeof buffer, count - bytes.size()));
      if (n > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
  }
  // One reply frame, decoded; nothing when it does not come whole in time.
  std::optional<Frame> ReadFrame(Framing framing, std::chrono::milliseconds timeout = 1000ms) {
    const std::size_t size = framing == Framing::Working ? kWorkingFrameSize : kFrameSize;
    const Bytes bytes = Read(size, timeout);
    if (bytes.size() != size) return std::nullopt;
    if (size == kWorkingFrameSize) return DecodeWorking(std::span<const std::uint8_t, kWorkingFrameSize>(bytes.data(), size));
    Frame frame{};
    std::copy(bytes.begin(), bytes.end(), frame.begin());
    return frame;
  }
  // True when nothing more arrives within `wait`.
  bool Quiet(std::chrono::milliseconds wait = 60ms) { return Read(1, wait).empty(); }

 private:
  int fd_;
};

// An emulator and the raw slave side of its pty.
class ModemOnLine : public ::testing::Test {
 protected:
  explicit ModemOnLine(ModemModel model = ModemModel()) : modem(std::move(model)), line(modem.PortPath()) {}

  struct Exchange {
    std::optional<Frame> ack, answer;
  };
  // A working-framing request: its acknowledgement, then an answer if one comes.
  Exchange Ask(const Frame& request, std::chrono::milliseconds answerWait = 100ms) {
    line.Send(request, Framing::Working);
    return {line.ReadFrame(Framing::Working), line.ReadFrame(Framing::Working, answerWait)};
  }
  // The answer of an exchange whose acknowledgement must be right.
  Frame AnswerTo(const Frame& request) {
    const Exchange e = Ask(request);
    EXPECT_TRUE(e.ack && IsValidAcknowledgement(*e.ack, request[2]));
    EXPECT_TRUE(e.answer) << "no answer to code " << int(request[2]);
    return e.answer.value_or(Frame{});
  }

  ModemEmulator modem;
  RawLine line;
};

}  // namespace rkvt::sim::test
