#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "Frame.h"
#include "FrameParser.h"

namespace rkvt::sim::test {

// The program's end of the line, with nothing of the program in it: frames
// are written and read as raw bytes on the pty's slave side.
class RawLine {
 public:
  explicit RawLine(const std::string& path) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ < 0) throw std::runtime_error("cannot open " + path);
    termios tio{};
    tcgetattr(fd_, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd_, TCSANOW, &tio);
  }
  ~RawLine() { close(fd_); }
  RawLine(const RawLine&) = delete;
  RawLine& operator=(const RawLine&) = delete;

  void Write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) throw std::runtime_error("write failed");
      done += static_cast<std::size_t>(n);
    }
  }
  void Send(const Frame& frame, Framing framing) {
    if (framing == Framing::Loader) {
      Write(frame);
    } else {
      const WorkingFrame chars = EncodeWorking(frame);
      Write(chars);
    }
  }

  // Up to `count` bytes, fewer when `timeout` passes first.
  std::vector<std::uint8_t> Read(std::size_t count, std::chrono::milliseconds timeout) {
    std::vector<std::uint8_t> bytes;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (bytes.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() < 0) break;
      pollfd pfd{fd_, POLLIN, 0};
      if (poll(&pfd, 1, static_cast<int>(left.count()) + 1) <= 0) continue;
      std::uint8_t buffer[256];
      const ssize_t n = read(fd_, buffer, std::min(sizeof buffer, count - bytes.size()));
      if (n > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
  }

  // One reply frame, decoded; nothing when it does not come whole in time.
  std::optional<Frame> ReadFrame(Framing framing, std::chrono::milliseconds timeout = std::chrono::milliseconds(1000)) {
    const std::size_t size = framing == Framing::Loader ? kFrameSize : kWorkingFrameSize;
    const auto bytes = Read(size, timeout);
    if (bytes.size() != size) return std::nullopt;
    Frame frame{};
    if (framing == Framing::Loader) {
      std::copy(bytes.begin(), bytes.end(), frame.begin());
    } else {
      frame = DecodeWorking(std::span<const std::uint8_t, kWorkingFrameSize>(bytes.data(), kWorkingFrameSize));
    }
    return frame;
  }

  // True when nothing more arrives within `wait`.
  bool Quiet(std::chrono::milliseconds wait = std::chrono::milliseconds(60)) { return Read(1, wait).empty(); }

 private:
  int fd_ = -1;
};

}  // namespace rkvt::sim::test
