#pragma once

#include <array>
#include <cstdint>

namespace rkvt::sim {

// Who holds the modem: b0..b3, then b4 and b5, which a slave test record
// needs because its real record starts at b2.
using ActivityRecord = std::array<std::uint8_t, 6>;

enum class Actor { LocalTerminal, LocalModem, RemoteTerminal, RemoteModem };

// Test codes as the connect request carries them.
namespace test_code {
inline constexpr std::uint8_t kRdlEs = 1;
inline constexpr std::uint8_t kRdl = 2;
inline constexpr std::uint8_t kAlEs = 4;
inline constexpr std::uint8_t kEs = 6;
inline constexpr std::uint8_t kAl = 7;
inline constexpr std::uint8_t kDl = 8;
inline constexpr std::uint8_t kSlave = 9;  // the far end of someone else's test
inline constexpr std::uint8_t kLl = 10;
}  // namespace test_code

bool IsKnownTestCode(std::uint8_t code);

ActivityRecord NoActivity();
ActivityRecord SetupActivity(Actor actor);
ActivityRecord AccessDeniedActivity(Actor actor);
ActivityRecord TestActivity(std::uint8_t testCode, Actor actor);
// This modem is the slave of a test run from the other end: b0/b1 carry test
// code 9 and the record of the master's test follows from b2.
ActivityRecord SlaveTestActivity(std::uint8_t masterTestCode, Actor master);

bool IsEmpty(const ActivityRecord& record);

}  // namespace rkvt::sim
