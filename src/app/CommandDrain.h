#pragma once

#include <set>

#include "link/CommandRunner.h"

namespace rkvt {

// Passes commands on to a runner and, when the program ends, stops the one
// in flight and waits for its completion: the worker writes into the
// window's block and must be done before the window goes away. Once
// draining, new starts (chained by a completion) are refused.
class CommandDrain final : public CommandRunner {
 public:
  explicit CommandDrain(CommandRunner& inner) : inner_(inner) {}

  std::unique_ptr<RunningCommand> Start(const CommandRequest& request, std::function<void()> onCompleted) override;

  // Returns false when a command was still running after limitMs.
  bool Drain(int limitMs);

 private:
  class Tracked;

  CommandRunner& inner_;
  std::set<Tracked*> live_;
  int inFlight_ = 0;
  bool draining_ = false;
  std::function<void()> onIdle_;
};

}  // namespace rkvt
