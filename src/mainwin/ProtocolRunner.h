#pragma once

#include <functional>
#include <memory>

#include "mainwin/CommandRunner.h"
#include "link/LinkTimings.h"
#include "link/PortSettings.h"
#include "link/ProtocolHost.h"
#include "link/SerialPort.h"

namespace rkvt {

// Runs the main window's commands on TProtocol workers. The port settings
// are read when a command starts (on the user-interface thread); the worker
// builds its port from that copy on its own thread.
class ProtocolRunner final : public CommandRunner {
 public:
  using PortMaker = std::function<std::unique_ptr<SerialPort>(const PortSettings&)>;

  // settings: the live settings (the non-visual module's); makePort: the
  // serial port for a copy of them, QSerialPort by default.
  explicit ProtocolRunner(const PortSettings& settings, LinkTimings timings = {}, PortMaker makePort = {});

  // Where the workers' texts, progress and beeps go; the main window's
  // WorkerHost(), which exists only once the window does.
  void SetHost(ProtocolHost* host) { host_ = host; }

  std::unique_ptr<RunningCommand> Start(std::uint8_t command, std::uint8_t subAddress, bool local,
                                        ExchangeBlock block, int softwareLevel,
                                        std::function<void()> onCompleted) override;

 private:
  const PortSettings& settings_;
  LinkTimings timings_;
  PortMaker makePort_;
  ProtocolHost* host_ = nullptr;
};

}  // namespace rkvt
