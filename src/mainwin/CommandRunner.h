#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace rkvt {

// The main window's exchange block: request bytes from offset 1, result code
// at offset 0 and the reply behind it once the command has ended.
inline constexpr std::size_t kExchangeBlockSize = 120;
using ExchangeBlock = std::span<std::uint8_t, kExchangeBlockSize>;

// A command that has been started. Destroying the handle before the command
// ends asks it to stop and drops its completion.
class RunningCommand {
 public:
  virtual ~RunningCommand() = default;
  // Sets the stop flag; the "stopped" result still arrives through the completion.
  virtual void Terminate() = 0;
};

// Starts one worker command on the window's block. The completion runs on
// the user-interface thread after the result code is in block[0].
class CommandRunner {
 public:
  virtual ~CommandRunner() = default;
  virtual std::unique_ptr<RunningCommand> Start(std::uint8_t command, std::uint8_t subAddress, bool local,
                                                ExchangeBlock block, int softwareLevel,
                                                std::function<void()> onCompleted) = 0;
};

}  // namespace rkvt
