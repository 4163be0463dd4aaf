#pragma once

#include <cstddef>
#include <cstdint>

#include "CommandContext.h"

namespace rkvt {

// Worker command codes; the result codes of each are listed with its runner.
namespace command {
inline constexpr std::uint8_t kIdentify = 2;
}  // namespace command

namespace result {
inline constexpr std::uint8_t kIdentifiedLoader = 1;
inline constexpr std::uint8_t kIdentifiedWorking = 2;
inline constexpr std::uint8_t kIdentifyFailed = 3;
inline constexpr std::uint8_t kIdentifyStopped = 4;
inline constexpr std::uint8_t kPortError = 17;
}  // namespace result

struct CommandInfo {
  std::uint8_t command;
  // Bytes of the reply buffer the command reads or writes; a smaller buffer
  // makes the worker do nothing rather than write past its end.
  std::size_t replyNeed;
  bool toUpdateWindow;
  std::uint8_t (*run)(CommandContext&);
};

// nullptr for codes the worker does not handle (they send nothing).
const CommandInfo* FindCommand(std::uint8_t command);

std::uint8_t RunIdentify(CommandContext& ctx);

}  // namespace rkvt
