#pragma once

#include <functional>
#include <memory>

#include "link/CommandRunner.h"
#include "link/LinkTimings.h"
#include "link/SerialPort.h"
#include "port/PortSettings.h"

namespace rkvt {

// Runs the windows' commands on TProtocol workers. The port settings are read
// when a command starts (on the user-interface thread); the worker builds its
// port from that copy on its own thread.
class ProtocolRunner final : public CommandRunner {
 public:
  using PortMaker = std::function<std::unique_ptr<SerialPort>(const PortSettings&)>;

  // settings: the live settings (the non-visual module's); makePort: the
  // serial port for a copy of them, QSerialPort by default.
  explicit ProtocolRunner(const PortSettings& settings, LinkTimings timings = {}, PortMaker makePort = {});

  std::unique_ptr<RunningCommand> Start(const CommandRequest& request, std::function<void()> onCompleted) override;

 private:
  const PortSettings& settings_;
  LinkTimings timings_;
  PortMaker makePort_;
};

}  // namespace rkvt
