#include "sim/ActivityRecord.h"

#include <algorithm>

namespace rkvt::sim {

namespace {
constexpr std::uint8_t kTerminal = 0x80;
constexpr std::uint8_t kLocal = 0x40;
constexpr std::uint8_t kSetup = 0x20;
constexpr std::uint8_t kTest = 0x10;
constexpr std::uint8_t kDenied = 0x08;

std::uint8_t ActorBits(Actor actor) {
  switch (actor) {
    case Actor::LocalTerminal: return kLocal | kTerminal;
    case Actor::LocalModem: return kLocal;
    case Actor::RemoteTerminal: return kTerminal;
    case Actor::RemoteModem: return 0;
  }
  return 0;
}

// The test code is split: its high three bits in b0, its low two in b1 bits 6-7.
void PutTest(std::uint8_t& b0, std::uint8_t& b1, std::uint8_t testCode, Actor actor) {
  b0 = static_cast<std::uint8_t>(ActorBits(actor) | kTest | ((testCode >> 2) & 0x07));
  b1 = static_cast<std::uint8_t>((testCode & 0x03) << 6);
}
}  // namespace

bool IsKnownTestCode(std::uint8_t code) {
  switch (code) {
    case test_code::kRdlEs:
    case test_code::kRdl:
    case test_code::kAlEs:
    case test_code::kEs:
    case test_code::kAl:
    case test_code::kDl:
    case test_code::kLl: return true;
    default: return false;
  }
}

ActivityRecord NoActivity() { return {}; }

ActivityRecord SetupActivity(Actor actor) { return {static_cast<std::uint8_t>(ActorBits(actor) | kSetup)}; }

ActivityRecord AccessDeniedActivity(Actor actor) {
  return {static_cast<std::uint8_t>(ActorBits(actor) | kDenied)};
}

ActivityRecord TestActivity(std::uint8_t testCode, Actor actor) {
  ActivityRecord record{};
  PutTest(record[0], record[1], testCode, actor);
  return record;
}

ActivityRecord SlaveTestActivity(std::uint8_t masterTestCode, Actor master) {
  ActivityRecord record{};
  PutTest(record[0], record[1], test_code::kSlave, Actor::RemoteModem);
  PutTest(record[2], record[3], masterTestCode, master);
  return record;
}

bool IsEmpty(const ActivityRecord& record) {
  return std::all_of(record.begin(), record.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace rkvt::sim
