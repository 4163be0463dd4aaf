#include "setup/SetupResults.h"

#include <algorithm>
#include <array>

#include "link/Commands.h"

namespace rkvt::setup {

namespace {

using A = SetupAfter;
constexpr std::array kResults{
    SetupResult{result::kSetupLeft, " Exit modem setup OK.", false, A::CloseWindow},
    SetupResult{result::kExitSetupFailed, " Exit modem setup error!", true, A::CloseWindow},
    SetupResult{result::kExitSetupStopped, " Exit modem setup stopped.", false, A::StayOpen},
    SetupResult{result::kNewModeSet, " Set new mode OK.", false, A::RebuildWorking},
    SetupResult{result::kSetNewModeFailed, " Set new mode error!", true, A::RebuildReceived},
    SetupResult{result::kSetNewModeStopped, " Set new mode stopped.", false, A::RebuildReceived},
    SetupResult{result::kProfileLoaded, " Load profile OK.", false, A::RebuildReply},
    SetupResult{result::kLoadProfileFailed, " Load profile error!", true, A::RebuildReceived},
    SetupResult{result::kLoadProfileStopped, " Load profile stopped.", false, A::RebuildReceived},
    SetupResult{result::kProfileSaved, " Save profile OK.", false, A::Nothing},
    SetupResult{result::kSaveProfileFailed, " Save profile error!", true, A::Nothing},
    SetupResult{result::kSaveProfileStopped, " Save profile stopped.", false, A::Nothing},
};

// Every result of the four commands has its row; the port error is the
// window's own case (the worker has shown its text).
static_assert(EveryResultCovered(std::array{command::kExitSetup, command::kSetNewMode, command::kLoadProfile,
                                            command::kSaveProfile},
                                 [](std::uint8_t r) {
                                   if (r == result::kPortError) return true;
                                   for (const SetupResult& row : kResults)
                                     if (row.result == r) return true;
                                   return false;
                                 }),
              "a result of a setup command has no row");

}  // namespace

const SetupResult* FindSetupResult(std::uint8_t result) {
  const auto it = std::find_if(kResults.begin(), kResults.end(), [result](const SetupResult& r) { return r.result == result; });
  return it == kResults.end() ? nullptr : &*it;
}

}  // namespace rkvt::setup
