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
  // stopRequests: how many stop requests (Ctrl-C) have come so far.
  WorkerRunner(PortFactory makePort, LinkTimings timings, ProtocolHost& host, std::function<int()> stopRequests);

  // The result code; reply[0] holds it too.
  std::uint8_t Run(std::uint8_t command, bool local, std::span<std::uint8_t> reply, int softwareLevel = 0,
                   std::span<const std::uint8_t> image = {});

  bool StopRequested() const { return stopRequests_() > forgiven_; }
  // The requests made so far no longer stop the next runs: the disconnect
  // that ends a stopped loop must still reach the modem. A later one does.
  void ForgiveStops() { forgiven_ = stopRequests_(); }
  // Waits up to ms while the event loop runs; false when a stop came first.
  bool Wait(int ms);

  // How often a stop request is looked for while a command runs.
  static constexpr int kStopPollMs = 20;

 private:
  PortFactory makePort_;
  LinkTimings timings_;
  ProtocolHost& host_;
  std::function<int()> stopRequests_;
  int forgiven_ = 0;
};

}  // namespace rkvt::cli
