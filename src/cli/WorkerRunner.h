#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "link/LinkTimings.h"
#include "link/ProtocolHost.h"
#include "link/TProtocol.h"

namespace rkvt::cli {

// Runs one worker command to its end while the caller waits: the worker
// still reports through the event loop, which runs here meanwhile.
class WorkerRunner {
 public:
  WorkerRunner(PortFactory makePort, LinkTimings timings, ProtocolHost& host, std::function<bool()> stopRequested);

  // The result code; reply[0] holds it too.
  std::uint8_t Run(std::uint8_t command, bool local, std::span<std::uint8_t> reply, int softwareLevel = 0,
                   std::span<const std::uint8_t> image = {});

  bool StopRequested() const { return stopRequested_(); }

  // How often a stop request is looked for while a command runs.
  static constexpr int kStopPollMs = 20;

 private:
  PortFactory makePort_;
  LinkTimings timings_;
  ProtocolHost& host_;
  std::function<bool()> stopRequested_;
};

}  // namespace rkvt::cli
