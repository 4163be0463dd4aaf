#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "link/CommandRunner.h"
#include "ui/Dialogs.h"

namespace rkvt::test {

// Stands in for the workers under a window's logic: records every start; the
// test ends the running command with a result code and reply bytes, as the
// worker would.
class FakeRunner : public CommandRunner {
 public:
  // The request as it was at the start, the whole exchange block included.
  struct Started { std::uint8_t command, subAddress; bool local; std::vector<std::uint8_t> block; int softwareLevel; };

  std::unique_ptr<RunningCommand> Start(const CommandRequest& r, std::function<void()> onCompleted) override {
    EXPECT_FALSE(pending_) << "command " << int(r.command) << " started while another runs";
    starts.push_back({r.command, r.subAddress, r.local, {r.block.begin(), r.block.end()}, r.softwareLevel});
    last = r;
    pending_ = std::move(onCompleted);
    return std::make_unique<Handle>(*this);
  }

  bool Running() const { return static_cast<bool>(pending_); }
  std::uint8_t LastCommand() const { return starts.empty() ? 0 : starts.back().command; }

  // Reply bytes as {offset, value}; the result code goes to byte 0.
  void Complete(std::uint8_t result, std::initializer_list<std::pair<int, std::uint8_t>> reply = {}) {
    ASSERT_TRUE(pending_) << "no command to complete with " << int(result);
    for (const auto& [at, value] : reply) last.block[static_cast<std::size_t>(at)] = value;
    last.block[0] = result;
    std::exchange(pending_, nullptr)();
  }

  std::vector<Started> starts;
  CommandRequest last;  // the running or last command's, as it came
  int terminates = 0;
  QString fault;  // what the running command reports as its fault

 private:
  struct Handle : RunningCommand {
    explicit Handle(FakeRunner& r) : runner(r) {}
    void Terminate() override { ++runner.terminates; }
    QString Fault() const override { return runner.fault; }
    FakeRunner& runner;
  };
  std::function<void()> pending_;
};

struct CountingBeeper : ui::Beeper {
  void Beep() override { ++beeps; }
  int beeps = 0;
};

}  // namespace rkvt::test
