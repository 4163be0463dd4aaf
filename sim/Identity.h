#pragma once

#include <cstdint>

namespace rkvt::sim {

// What the modem says about itself in the identify answer and the loader query.
struct Identity {
  std::uint8_t reserved = 0;
  std::uint8_t type = 6;
  std::uint8_t version = 0x31;  // major digit in bits 4-7, minor digit in bits 0-3
  char third = '5';             // the last version digit, as a character
  std::uint8_t variantCode = 0;
  bool loader = false;          // runs its loader: loader framing only
};

// The program's ordinal of type and version; the modem needs it to know which
// page layout and page codes its firmware speaks.
int SoftwareLevel(const Identity& identity);

// The channel variant 0-9 the program derives from version and variant code
// (type 6 only; 0 for every other modem).
int ModemVariant(const Identity& identity);

// Firmware below level 7 lays out its pages the old way (one interface, the
// activity record at bytes 10-13); from level 7 on with two interface slots.
enum class PageLayout { First, Second };
PageLayout LayoutOf(const Identity& identity);

}  // namespace rkvt::sim
