#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "sim/ActivityRecord.h"
#include "sim/ModemState.h"

namespace rkvt::sim {

// How the modem answers a connect request.
enum class ConnectReply {
  Connected,  // 0x31
  Off,        // 0x32: the loop is not switched on
  Busy,       // 0x33: someone else holds the modem; the busy record follows
};

// Loop and bit-error tests: which one is connected and its counters, which
// advance with the modem's time while it runs.
class LoopTests {
 public:
  using Duration = std::chrono::milliseconds;

  struct Counters {
    std::int64_t readyMs = 0;
    std::int64_t notReadyMs = 0;
    std::int64_t erroredMs = 0;
    std::int64_t severelyErroredMs = 0;
    std::int64_t bits = 0;  // the DL bit counter
  };

  ConnectReply connectReply = ConnectReply::Connected;
  ActivityRecord busyRecord = TestActivity(test_code::kRdlEs, Actor::RemoteTerminal);
  // Shares of the ready time, per thousand, and the DL counter's rate.
  int erroredPerMille = 0;
  int severelyErroredPerMille = 0;
  int bitsPerSecond = 0;
  // Loop reads answered before the modem falls silent: it still acknowledges
  // them but never answers. None: it never does.
  std::optional<int> readsBeforeSilence;

  // Counts a loop read; false once the modem has fallen silent.
  bool AnswerRead() {
    if (readsBeforeSilence && reads_ >= *readsBeforeSilence) return false;
    ++reads_;
    return true;
  }
  // Tests whose far end loops the line back and knows it: the modem at the
  // other end reports itself as their slave.
  static bool InvolvesFarEnd(std::uint8_t testCode) {
    return testCode == test_code::kRdlEs || testCode == test_code::kRdl;
  }

  // The response code to a connect request with this test code.
  std::uint8_t Connect(std::uint8_t testCode);
  // A disconnect request; a reset of the modem drops the test uncounted.
  void Disconnect() {
    ++disconnects_;
    connected_.reset();
  }
  void Drop() { connected_.reset(); }
  std::optional<std::uint8_t> Connected() const { return connected_; }
  int Connects() const { return connects_; }
  int Disconnects() const { return disconnects_; }

  Counters& Values() { return counters_; }
  const Counters& Values() const { return counters_; }
  void ResetCounters();
  void Advance(Duration now, bool lineUp);

  // Page codes the firmware of this layout answers.
  static bool IsPageCode(std::uint8_t pageCode, PageLayout layout);
  // The loop page for a page code: line bytes, then the counters or the
  // interface bytes of the state page, as the page code asks.
  PageBlock Page(std::uint8_t pageCode, const ModemState& state, PageLayout layout) const;

 private:
  std::optional<std::uint8_t> connected_;
  Counters counters_;
  Duration last_{0};
  std::int64_t erroredRemainder_ = 0;
  std::int64_t severeRemainder_ = 0;
  std::int64_t bitRemainder_ = 0;
  int connects_ = 0;
  int reads_ = 0;
  int disconnects_ = 0;
};

}  // namespace rkvt::sim
