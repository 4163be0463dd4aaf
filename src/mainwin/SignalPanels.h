#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "mainwin/MainWindowControls.h"

namespace rkvt {

// From this software level on the state and loop pages carry two interface
// slots instead of the single first-generation layout.
inline constexpr std::int32_t kSecondGenerationLevel = 7;
inline constexpr bool IsSecondGeneration(std::int32_t softwareLevel) {
  return softwareLevel >= kSecondGenerationLevel;
}

// Interface slots of a second-generation page: A at bytes 6-9, B at 10-13.
enum class Slot { None, A, B };
inline constexpr std::size_t kSlotA = 6;
inline constexpr std::size_t kSlotB = 10;
inline constexpr std::size_t SlotOffset(Slot slot) { return slot == Slot::B ? kSlotB : kSlotA; }

// Bit 4 of a slot's first byte marks it valid.
bool SlotValid(std::span<const std::uint8_t> block, Slot slot);
// Slot A when valid, else slot B when valid, else none.
Slot ChooseSlot(std::span<const std::uint8_t> block);

// Sets the indicators of the interface's panel(s) from the page; hidden
// panels keep their colours. Code 0, or no slot on a second-generation page,
// changes nothing.
// The lamps of each panel from top to bottom with the labels beside them;
// the window draws them and the command line prints them from this table.
struct PanelLamp {
  ui::Shape MainWindowControls::*shape;
  const char* label;
};
struct SignalPanel {
  ui::GroupBox MainWindowControls::*panel;
  std::span<const PanelLamp> lamps;
};
extern const std::array<SignalPanel, 3> kSignalPanels;  // port 2, Ethernet, E1
// A lamp whose bit is 1 shows green (#008000), one whose bit is 0 lime.
bool LampOn(const ui::Shape& lamp);

void ColourIndicators(std::span<const std::uint8_t> block, bool secondGeneration, Slot slot, int interfaceCode,
                      MainWindowControls& controls);

}  // namespace rkvt
