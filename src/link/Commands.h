#pragma once

#include <cstddef>
#include <cstdint>

#include "link/CommandContext.h"

namespace rkvt {

// Worker command codes.
namespace command {
inline constexpr std::uint8_t kIdentify = 2;
inline constexpr std::uint8_t kUpdateViaLoader = 5;
inline constexpr std::uint8_t kUpdateViaFirmware = 6;
inline constexpr std::uint8_t kResetViaLoader = 10;
inline constexpr std::uint8_t kReset = 11;
inline constexpr std::uint8_t kResetSecondStep = 14;
inline constexpr std::uint8_t kEnterSetup = 18;
inline constexpr std::uint8_t kExitSetup = 22;
inline constexpr std::uint8_t kGetStatistics = 25;
inline constexpr std::uint8_t kResetStatistics = 28;
inline constexpr std::uint8_t kSetNewMode = 31;
inline constexpr std::uint8_t kLoadProfile = 34;
inline constexpr std::uint8_t kSaveProfile = 37;
inline constexpr std::uint8_t kConnectLoop = 40;
inline constexpr std::uint8_t kDisconnectLoop = 46;
inline constexpr std::uint8_t kGetLoopStatistics = 50;
inline constexpr std::uint8_t kResetLoopStatistics = 53;
}  // namespace command

// Result codes the worker leaves in byte 0 of the reply buffer. Most
// commands have a done / failed / stopped triple starting at their own code.
namespace result {
inline constexpr std::uint8_t kIdentifiedLoader = 1;
inline constexpr std::uint8_t kIdentifiedWorking = 2;
inline constexpr std::uint8_t kIdentifyFailed = 3;
inline constexpr std::uint8_t kIdentifyStopped = 4;
inline constexpr std::uint8_t kUpdatedViaLoader = 5;
inline constexpr std::uint8_t kUpdatedViaFirmware = 6;
inline constexpr std::uint8_t kEraseFailed = 7;
inline constexpr std::uint8_t kWriteFailed = 8;
inline constexpr std::uint8_t kUpdateStopped = 9;
inline constexpr std::uint8_t kResetViaLoaderDone = 10;
inline constexpr std::uint8_t kResetDone = 11;
inline constexpr std::uint8_t kResetFailed = 12;
inline constexpr std::uint8_t kResetStopped = 13;
inline constexpr std::uint8_t kResetSecondDone = 14;
inline constexpr std::uint8_t kResetSecondFailed = 15;
inline constexpr std::uint8_t kResetSecondStopped = 16;
inline constexpr std::uint8_t kPortError = 17;
inline constexpr std::uint8_t kSetupEntered = 18;
inline constexpr std::uint8_t kSetupRefused = 19;
inline constexpr std::uint8_t kEnterSetupFailed = 20;
inline constexpr std::uint8_t kEnterSetupStopped = 21;
inline constexpr std::uint8_t kStatisticsDone = 25;
inline constexpr std::uint8_t kStatisticsFailed = 26;
inline constexpr std::uint8_t kStatisticsStopped = 27;
inline constexpr std::uint8_t kLoopConnected = 40;
inline constexpr std::uint8_t kConnectLoopStopped = 41;
inline constexpr std::uint8_t kConnectLoopNoAnswer = 42;
inline constexpr std::uint8_t kConnectLoopAnswered32 = 43;
inline constexpr std::uint8_t kConnectLoopBusy = 44;
inline constexpr std::uint8_t kConnectLoopFailed = 45;
inline constexpr std::uint8_t kLoopDisconnected = 46;
inline constexpr std::uint8_t kDisconnectLoopStopped = 47;
inline constexpr std::uint8_t kDisconnectLoopNoAnswer = 48;
inline constexpr std::uint8_t kDisconnectLoopFailed = 49;
inline constexpr std::uint8_t kLoopStatisticsDone = 50;
inline constexpr std::uint8_t kLoopStatisticsFailed = 51;
inline constexpr std::uint8_t kLoopStatisticsStopped = 52;
inline constexpr std::uint8_t kResetLoopStatisticsDone = 53;
inline constexpr std::uint8_t kResetLoopStatisticsFailed = 54;
inline constexpr std::uint8_t kResetLoopStatisticsStopped = 55;
}  // namespace result

// Size of the statistics reply: three answer records back to back.
inline constexpr std::size_t kStatisticsReplySize = 3 * kAnswerRecordSize;

struct CommandInfo {
  std::uint8_t command;
  // Bytes of the reply buffer the command reads or writes; a smaller buffer
  // makes the worker do nothing rather than write past its end.
  std::size_t replyNeed;
  bool needsImage;
  std::uint8_t (*run)(CommandContext&);
};

// nullptr for codes the worker does not handle (they send nothing).
const CommandInfo* FindCommand(std::uint8_t command);

}  // namespace rkvt
