#pragma once

#include <array>
#include <cstdint>

#include "sim/ActivityRecord.h"
#include "sim/Identity.h"

namespace rkvt::sim {

// The 24 data bytes of a page: answer record bytes 4 to 27.
using PageBlock = std::array<std::uint8_t, 24>;

struct LineCondition {
  bool freqShiftTooHigh = false;
  bool levelTooLow = false;
  bool levelTooHigh = false;
};

struct PortCircuits {
  bool dtr = true;
  bool dsr = true;
  bool rts = true;
  bool cts = true;
  bool dcd = true;
};

struct EthernetIndicators {
  bool link = true;
  bool rx = false;
  bool tx = false;
  bool collision = false;
  bool valid = true;      // first layout only: bit 0 of byte 7 says "not valid"
  bool speed100 = false;  // second layout: bit 6 of byte 7, whichever slot
};

// Interface codes as the second layout's slots carry them.
namespace slot_interface {
inline constexpr std::uint8_t kP2 = 1;
inline constexpr std::uint8_t kEthernet10 = 2;
inline constexpr std::uint8_t kE1 = 3;
inline constexpr std::uint8_t kEthernet100 = 4;
}  // namespace slot_interface

// Interface codes of the first layout.
namespace gen1_interface {
inline constexpr std::uint8_t kP2Sync = 0;
inline constexpr std::uint8_t kEthernet = 1;
inline constexpr std::uint8_t kP2Async = 2;
}  // namespace gen1_interface

// One interface slot of the second layout. Its second byte carries the cable
// code, the Ethernet indicators or the E1 alarms, chosen by the interface.
struct InterfaceSlot {
  bool valid = false;
  std::uint8_t interface = slot_interface::kP2;  // 3 bits
  std::uint8_t cable = 30;                       // 5 bits
  EthernetIndicators ethernet;
  std::uint8_t e1Alarms = 0;
  PortCircuits circuits;
  std::uint8_t syncRate = 0;   // 4 bits
  std::uint8_t asyncRate = 0;  // 2 bits
  bool async = false;
};

// What the modem reports about its line and interfaces, as plain fields; the
// page bytes are built from them for the layout the firmware speaks.
struct ModemState {
  LineCondition line;
  std::uint8_t quality = 0;   // 0 A .. 4 E, 5 no line, 6-7 unknown
  std::uint8_t lineRate = 3;  // 3 bits in the first layout, 4 in the second
  // First layout only.
  std::uint8_t asyncRate = 1;
  PortCircuits circuits;
  EthernetIndicators ethernet;
  std::uint8_t interface = gen1_interface::kP2Sync;  // 3 bits
  std::uint8_t cable = 30;                           // 5 bits
  // Second layout only.
  InterfaceSlot slotA{.valid = true};
  InterfaceSlot slotB;
  // Reported as it is; when empty the modem reports its own setup or test.
  ActivityRecord activity{};

  bool LineUp() const { return quality != 5; }
};

// Byte 4 and byte 5 of every state and loop page.
std::uint8_t LineConditionByte(const ModemState& state);
std::uint8_t QualityRateByte(const ModemState& state, PageLayout layout);

// The state page; `activity` is the record to report (the state's own or the
// modem's).
PageBlock StateBlock(const ModemState& state, PageLayout layout, const ActivityRecord& activity);

}  // namespace rkvt::sim
