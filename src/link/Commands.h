#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "link/Frame.h"

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
inline constexpr std::uint8_t kNone = 0;
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
inline constexpr std::uint8_t kSetupLeft = 22;
inline constexpr std::uint8_t kExitSetupFailed = 23;
inline constexpr std::uint8_t kExitSetupStopped = 24;
inline constexpr std::uint8_t kStatisticsDone = 25;
inline constexpr std::uint8_t kStatisticsFailed = 26;
inline constexpr std::uint8_t kStatisticsStopped = 27;
inline constexpr std::uint8_t kStatisticsCleared = 28;
inline constexpr std::uint8_t kResetStatisticsFailed = 29;
inline constexpr std::uint8_t kResetStatisticsStopped = 30;
inline constexpr std::uint8_t kNewModeSet = 31;
inline constexpr std::uint8_t kSetNewModeFailed = 32;
inline constexpr std::uint8_t kSetNewModeStopped = 33;
inline constexpr std::uint8_t kProfileLoaded = 34;
inline constexpr std::uint8_t kLoadProfileFailed = 35;
inline constexpr std::uint8_t kLoadProfileStopped = 36;
inline constexpr std::uint8_t kProfileSaved = 37;
inline constexpr std::uint8_t kSaveProfileFailed = 38;
inline constexpr std::uint8_t kSaveProfileStopped = 39;
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
inline constexpr std::uint8_t kLast = 55;
}  // namespace result

// Size of the statistics reply: three answer records back to back.
inline constexpr std::size_t kStatisticsReplySize = 3 * kAnswerRecordSize;
// The main window's exchange block: room for every command's reply.
inline constexpr std::size_t kExchangeBlockSize = 120;

enum class ResultKind : std::uint8_t { None, Done, Failed, Refused, Stopped, PortError };

struct ResultInfo {
  std::uint8_t code;
  ResultKind kind;
  std::string_view meaning;  // a few words, for the command line and logs
};

namespace detail {
using enum ResultKind;
inline constexpr std::array<ResultInfo, result::kLast + 1> kResults{{
    {result::kNone, None, "none"},
    {result::kIdentifiedLoader, Done, "identified: the local modem runs its loader"},
    {result::kIdentifiedWorking, Done, "identified: the modem runs its working firmware"},
    {result::kIdentifyFailed, Failed, "identify failed"},
    {result::kIdentifyStopped, Stopped, "identify stopped"},
    {result::kUpdatedViaLoader, Done, "update through the loader done"},
    {result::kUpdatedViaFirmware, Done, "update through the working firmware done"},
    {result::kEraseFailed, Failed, "update failed: an erase step was not confirmed"},
    {result::kWriteFailed, Failed, "update failed: a block write was not confirmed"},
    {result::kUpdateStopped, Stopped, "update stopped"},
    {result::kResetViaLoaderDone, Done, "reset through the loader done"},
    {result::kResetDone, Done, "reset, first step done"},
    {result::kResetFailed, Failed, "reset failed"},
    {result::kResetStopped, Stopped, "reset stopped"},
    {result::kResetSecondDone, Done, "reset, second step done"},
    {result::kResetSecondFailed, Failed, "reset, second step failed"},
    {result::kResetSecondStopped, Stopped, "reset, second step stopped"},
    {result::kPortError, PortError, "serial port error"},
    {result::kSetupEntered, Done, "setup entered"},
    {result::kSetupRefused, Refused, "setup refused: the modem is held"},
    {result::kEnterSetupFailed, Failed, "enter setup failed"},
    {result::kEnterSetupStopped, Stopped, "enter setup stopped"},
    {result::kSetupLeft, Done, "setup left"},
    {result::kExitSetupFailed, Failed, "exit setup failed"},
    {result::kExitSetupStopped, Stopped, "exit setup stopped"},
    {result::kStatisticsDone, Done, "statistics read"},
    {result::kStatisticsFailed, Failed, "get statistics failed"},
    {result::kStatisticsStopped, Stopped, "get statistics stopped"},
    {result::kStatisticsCleared, Done, "statistics cleared"},
    {result::kResetStatisticsFailed, Failed, "reset statistics failed"},
    {result::kResetStatisticsStopped, Stopped, "reset statistics stopped"},
    {result::kNewModeSet, Done, "new mode set"},
    {result::kSetNewModeFailed, Failed, "set new mode failed"},
    {result::kSetNewModeStopped, Stopped, "set new mode stopped"},
    {result::kProfileLoaded, Done, "profile loaded"},
    {result::kLoadProfileFailed, Failed, "load profile failed"},
    {result::kLoadProfileStopped, Stopped, "load profile stopped"},
    {result::kProfileSaved, Done, "profile saved"},
    {result::kSaveProfileFailed, Failed, "save profile failed"},
    {result::kSaveProfileStopped, Stopped, "save profile stopped"},
    {result::kLoopConnected, Done, "loop connected"},
    {result::kConnectLoopStopped, Stopped, "connect loop stopped"},
    {result::kConnectLoopNoAnswer, Failed, "connect loop: no answer"},
    {result::kConnectLoopAnswered32, Failed, "connect loop: answered 0x32"},
    {result::kConnectLoopBusy, Refused, "connect loop refused: the modem is busy"},
    {result::kConnectLoopFailed, Failed, "connect loop failed"},
    {result::kLoopDisconnected, Done, "loop disconnected"},
    {result::kDisconnectLoopStopped, Stopped, "disconnect loop stopped"},
    {result::kDisconnectLoopNoAnswer, Failed, "disconnect loop: no answer"},
    {result::kDisconnectLoopFailed, Failed, "disconnect loop failed"},
    {result::kLoopStatisticsDone, Done, "loop statistics read"},
    {result::kLoopStatisticsFailed, Failed, "get loop statistics failed"},
    {result::kLoopStatisticsStopped, Stopped, "get loop statistics stopped"},
    {result::kResetLoopStatisticsDone, Done, "loop statistics cleared"},
    {result::kResetLoopStatisticsFailed, Failed, "reset loop statistics failed"},
    {result::kResetLoopStatisticsStopped, Stopped, "reset loop statistics stopped"},
}};
}  // namespace detail

// Unknown codes (a worker's buffer holds any byte) give kind None, "unknown result".
const ResultInfo& FindResult(std::uint8_t code);

// Everything the program knows about one worker command. Code byte and
// response are those of its main exchange; 0 where the command has none of
// its own (the transfers compute theirs per segment).
struct CommandInfo {
  std::uint8_t command;
  std::string_view name;
  std::uint8_t subAddress;
  std::uint8_t codeByte;
  std::uint8_t response;
  // Request data bytes taken from reply bytes 1 onward.
  std::size_t requestSize;
  // Bytes of the reply buffer the command reads or writes; a smaller buffer
  // makes the worker do nothing rather than write past its end.
  std::size_t replyNeed;
  // Every result it can leave besides the port error; 0 fills the rest.
  std::array<std::uint8_t, 6> results;
  bool needsImage;

  constexpr bool Gives(std::uint8_t r) const {
    if (r == result::kPortError) return true;
    for (std::uint8_t x : results)
      if (x != 0 && x == r) return true;
    return false;
  }
  constexpr std::size_t ReplyShown() const { return replyNeed > kAnswerRecordSize ? replyNeed : kAnswerRecordSize; }
};

namespace detail {
inline constexpr std::size_t kRecord = kAnswerRecordSize;
using namespace command;
using namespace result;
// command, name, sub-address, code byte, response, request bytes, reply bytes, results, needs an image
inline constexpr std::array kCommands{
    CommandInfo{kIdentify, "identify", 1, 3, 0x03, 0, kRecord,
                {kIdentifiedLoader, kIdentifiedWorking, kIdentifyFailed, kIdentifyStopped}, false},
    CommandInfo{kUpdateViaLoader, "update through the loader", 1, 0, 0, 0, 1,
                {kUpdatedViaLoader, kEraseFailed, kWriteFailed, kUpdateStopped}, true},
    CommandInfo{kUpdateViaFirmware, "update through the working firmware", 1, 0, 0, 0, 1,
                {kUpdatedViaFirmware, kEraseFailed, kWriteFailed, kUpdateStopped}, true},
    // Only byte 0 is written: no answer is read.
    CommandInfo{kResetViaLoader, "reset through the loader", 1, 2, 0, 0, 1,
                {kResetViaLoaderDone, kResetFailed, kResetStopped}, false},
    CommandInfo{kReset, "reset", 1, 2, 0x02, 0, kRecord, {kResetDone, kResetFailed, kResetStopped}, false},
    CommandInfo{kResetSecondStep, "reset, second step", 1, 4, 0x04, 0, kRecord,
                {kResetSecondDone, kResetSecondFailed, kResetSecondStopped}, false},
    CommandInfo{kEnterSetup, "enter setup", 2, 1, 0x21, 0, kRecord,
                {kSetupEntered, kSetupRefused, kEnterSetupFailed, kEnterSetupStopped}, false},
    CommandInfo{kExitSetup, "exit setup", 2, 24, 0x26, 4, kRecord, {kSetupLeft, kExitSetupFailed, kExitSetupStopped}, false},
    CommandInfo{kGetStatistics, "get statistics", 2, 3, 0x29, 2, kStatisticsReplySize,
                {kStatisticsDone, kStatisticsFailed, kStatisticsStopped}, false},
    CommandInfo{kResetStatistics, "reset statistics", 2, 4, 0x2A, 0, kRecord,
                {kStatisticsCleared, kResetStatisticsFailed, kResetStatisticsStopped}, false},
    CommandInfo{kSetNewMode, "set new mode", 2, 20, 0x22, 26, kRecord,
                {kNewModeSet, kSetNewModeFailed, kSetNewModeStopped}, false},
    CommandInfo{kLoadProfile, "load profile", 2, 22, 0x24, 2, kRecord,
                {kProfileLoaded, kLoadProfileFailed, kLoadProfileStopped}, false},
    CommandInfo{kSaveProfile, "save profile", 2, 21, 0x23, 2, kRecord,
                {kProfileSaved, kSaveProfileFailed, kSaveProfileStopped}, false},
    CommandInfo{kConnectLoop, "connect loop", 2, 2, 0x31, 2, kRecord,
                {kLoopConnected, kConnectLoopStopped, kConnectLoopNoAnswer, kConnectLoopAnswered32, kConnectLoopBusy,
                 kConnectLoopFailed}, false},
    CommandInfo{kDisconnectLoop, "disconnect loop", 2, 18, 0x32, 2, kRecord,
                {kLoopDisconnected, kDisconnectLoopStopped, kDisconnectLoopNoAnswer, kDisconnectLoopFailed}, false},
    CommandInfo{kGetLoopStatistics, "get loop statistics", 2, 19, 0x29, 2, kRecord,
                {kLoopStatisticsDone, kLoopStatisticsFailed, kLoopStatisticsStopped}, false},
    // Acknowledged is done: no answer is read, only byte 0 is written.
    CommandInfo{kResetLoopStatistics, "reset loop statistics", 2, 17, 0, 0, 1,
                {kResetLoopStatisticsDone, kResetLoopStatisticsFailed, kResetLoopStatisticsStopped}, false},
};

constexpr bool ResultRowsInOrder() {
  for (std::size_t i = 0; i < kResults.size(); ++i)
    if (kResults[i].code != i) return false;
  return true;
}
// Each command has exactly one stopped result, and every result code
// belongs to some command.
constexpr bool CommandsCoverResults() {
  for (const CommandInfo& c : kCommands) {
    int stopped = 0;
    for (std::uint8_t r : c.results) stopped += r != 0 && kResults[r].kind == Stopped ? 1 : 0;
    if (stopped != 1) return false;
  }
  for (std::uint8_t r = 1; r <= result::kLast; ++r) {
    bool found = r == result::kPortError;
    for (const CommandInfo& c : kCommands) found = found || c.Gives(r);
    if (!found) return false;
  }
  return true;
}
static_assert(ResultRowsInOrder(), "result rows must be listed in code order");
static_assert(CommandsCoverResults(), "every result belongs to a command, every command has one stopped result");
}  // namespace detail

inline constexpr std::span<const CommandInfo> kCommandTable{detail::kCommands};

// nullptr for codes the worker does not handle (they send nothing).
constexpr const CommandInfo* FindCommand(std::uint8_t command) {
  for (const CommandInfo& c : detail::kCommands)
    if (c.command == command) return &c;
  return nullptr;
}

// Whether `covered(result)` holds for every result each of `commands` can
// leave, the port error included, for a window's compile-time check of its
// result table. Walks the table itself: a pointer test against null is not a
// constant expression for g++ once UBSan instruments it.
template <std::size_t N, typename Covered>
constexpr bool EveryResultCovered(const std::array<std::uint8_t, N>& commands, Covered covered) {
  for (std::uint8_t command : commands) {
    bool known = false;
    for (const CommandInfo& info : detail::kCommands) {
      if (info.command != command) continue;
      known = true;
      for (std::uint8_t r = 1; r <= result::kLast; ++r)
        if (info.Gives(r) && !covered(r)) return false;
    }
    if (!known) return false;
  }
  return true;
}

struct CommandContext;
// Runs the command's exchanges; returns its result code.
std::uint8_t RunCommand(const CommandInfo& info, CommandContext& ctx);

// The result a command leaves when stopped.
constexpr std::uint8_t StoppedResult(const CommandInfo& c) {
  for (std::uint8_t r : c.results)
    if (r != 0 && detail::kResults[r].kind == ResultKind::Stopped) return r;
  return 0;
}

}  // namespace rkvt
