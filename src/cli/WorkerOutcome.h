#pragma once

#include <cstddef>
#include <cstdint>

namespace rkvt::cli {

enum class Outcome { Done, Failed, Stopped };

// A port error counts as stopped: the modem was never really asked. A result
// that is not the command's own counts as failed.
Outcome OutcomeOf(std::uint8_t command, std::uint8_t result);
int ExitStatusOf(Outcome outcome);

// Where the refusal detail sits and how long it is.
inline constexpr std::size_t kRefusalAt = 4;
inline constexpr std::size_t kRefusalSize = 6;

}  // namespace rkvt::cli
