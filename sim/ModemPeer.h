#pragma once

#include <chrono>
#include <optional>

#include "sim/ConfigStore.h"
#include "link/Frame.h"
#include "sim/Identity.h"
#include "sim/LineStatistics.h"
#include "sim/LoopTests.h"
#include "sim/ModemState.h"

namespace rkvt::sim {

// One modem's working firmware as the program sees it: state page,
// statistics, configuration and loop tests, and the answers to every
// request that gets one. The local and the remote modem are one each.
class ModemPeer {
 public:
  explicit ModemPeer(int softwareLevel = 12, int variant = 0) : config(softwareLevel, variant) {}

  ModemState state;
  ConfigStore config;
  LoopTests loops;
  LineStatistics stats;
  int resets = 0;             // first reset steps answered
  int resetSecondSteps = 0;   // second reset steps answered
  // The test the modem at the other end of the line runs, if any.
  std::optional<std::uint8_t> farTest;

  // The record the state page carries: the one a test set, else the modem's
  // own setup or test, seen from the program's terminal.
  ActivityRecord ReportedActivity(bool remote) const;
  // Brings the counters to the modem's time `now`.
  void Advance(std::chrono::milliseconds now);
  // The sealed answer to a working-framing request, or nothing when the
  // request gets only its acknowledgement.
  std::optional<Frame> Answer(const Identity& identity, const Frame& request, bool remote);
};

}  // namespace rkvt::sim
