#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include <QString>

namespace rkvt {

class ProtocolHost;

// A command that has been started. Destroying the handle before the command
// ends asks it to stop and drops its completion.
class RunningCommand {
 public:
  virtual ~RunningCommand() = default;
  // Sets the stop flag; the "stopped" result still arrives through the completion.
  virtual void Terminate() = 0;
  // Once ended: why the command failed, as the user reads it; empty when it did not.
  virtual QString Fault() const { return {}; }
};

// What a window asks a worker to do. The block is the window's own exchange
// block: request bytes from offset 1, the result code at offset 0 and the
// reply behind it once the command has ended.
struct CommandRequest {
  std::uint8_t command = 0;
  std::uint8_t subAddress = 0;
  bool local = true;
  std::span<std::uint8_t> block;
  int softwareLevel = 0;
  // The window that started the command: it shows the worker's texts,
  // progress and beeps.
  ProtocolHost* host = nullptr;
  // The firmware image, for the transfer commands only; read, never written.
  std::span<const std::uint8_t> image;
};

// Starts one worker command. The completion runs on the user-interface
// thread after the result code is in block[0].
class CommandRunner {
 public:
  virtual ~CommandRunner() = default;
  virtual std::unique_ptr<RunningCommand> Start(const CommandRequest& request, std::function<void()> onCompleted) = 0;
};

}  // namespace rkvt
