#include "setup/SetupResults.h"

#include <algorithm>
#include <array>

#include "link/Commands.h"

namespace rkvt::setup {

namespace {

// Each command's done, failed and stopped results follow its own code.
constexpr std::uint8_t Done(std::uint8_t command) { return command; }
constexpr std::uint8_t Failed(std::uint8_t command) { return command + 1; }
constexpr std::uint8_t Stopped(std::uint8_t command) { return command + 2; }

using A = SetupAfter;
constexpr std::array kResults{
    SetupResult{Done(command::kExitSetup), " Exit modem setup OK.", false, A::CloseWindow},
    SetupResult{Failed(command::kExitSetup), " Exit modem setup error!", true, A::CloseWindow},
    SetupResult{Stopped(command::kExitSetup), " Exit modem setup stopped.", false, A::StayOpen},
    SetupResult{Done(command::kSetNewMode), " Set new mode OK.", false, A::RebuildWorking},
    SetupResult{Failed(command::kSetNewMode), " Set new mode error!", true, A::RebuildReceived},
    SetupResult{Stopped(command::kSetNewMode), " Set new mode stopped.", false, A::RebuildReceived},
    SetupResult{Done(command::kLoadProfile), " Load profile OK.", false, A::RebuildReply},
    SetupResult{Failed(command::kLoadProfile), " Load profile error!", true, A::RebuildReceived},
    SetupResult{Stopped(command::kLoadProfile), " Load profile stopped.", false, A::RebuildReceived},
    SetupResult{Done(command::kSaveProfile), " Save profile OK.", false, A::Nothing},
    SetupResult{Failed(command::kSaveProfile), " Save profile error!", true, A::Nothing},
    SetupResult{Stopped(command::kSaveProfile), " Save profile stopped.", false, A::Nothing},
};

}  // namespace

const SetupResult* FindSetupResult(std::uint8_t result) {
  const auto it = std::find_if(kResults.begin(), kResults.end(), [result](const SetupResult& r) { return r.result == result; });
  return it == kResults.end() ? nullptr : &*it;
}

}  // namespace rkvt::setup
