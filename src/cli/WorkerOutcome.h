#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace rkvt::cli {

// How one worker command is started and how its results read.
struct WorkerCommand {
  std::uint8_t command;
  std::uint8_t subAddress;
  std::array<std::uint8_t, 2> done;  // a second 0 means only one
  std::uint8_t stopped;
  // A result whose reply carries the modem's refusal detail from byte 4; 0: none.
  std::uint8_t refused;
  std::size_t replyShown;  // bytes of the exchange block printed after the run
};

// nullptr for codes the program never starts.
const WorkerCommand* FindWorkerCommand(std::uint8_t command);

enum class Outcome { Done, Failed, Stopped };

// A port error counts as stopped: the modem was never really asked.
Outcome OutcomeOf(std::uint8_t command, std::uint8_t result);
int ExitStatusOf(Outcome outcome);

// Where the refusal detail sits and how long it is.
inline constexpr std::size_t kRefusalAt = 4;
inline constexpr std::size_t kRefusalSize = 6;

}  // namespace rkvt::cli
