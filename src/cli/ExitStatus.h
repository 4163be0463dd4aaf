#pragma once

namespace rkvt::cli {

// Exit statuses; 64 is the usual "usage" status (EX_USAGE) that scripts know.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitStopped = 2;
inline constexpr int kExitUsage = 64;

}  // namespace rkvt::cli
