#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "mainwin/MainWindowControls.h"
#include "mainwin/UiState.h"

namespace rkvt {

// What the main window's decoders do to its controls. Each decoder reads the
// exchange block (result code at byte 0) and sets the fields it owns; what
// the window itself must do next (UI state, beep, message) comes back.

// After results 1 and 2: sets the texts of StaticTextModem and
// StaticTextVersion; their colours come with the UI state.
struct IdentificationOutcome {
  bool supported = false;              // type 1 or 6 with a software level
  std::int32_t softwareLevel = 0;
  std::int32_t modemVariant = 0;
  std::optional<bool> workingFirmware;  // a new value for the flag, or leave it
  std::optional<UiState> uiState;       // for special, unknown and unsupported modems
  bool beep = false;
  QString message;                      // replaces the message line when not empty
};
IdentificationOutcome DecodeIdentification(std::span<const std::uint8_t> block, MainWindowControls& controls);

// The sentence saying who holds the modem, from the 4-byte activity record
// at `at` (and the two bytes after it). Turns the local/remote bit into the
// operator's view in the block itself, so the reply snapshot carries it.
QString ActivityText(std::span<std::uint8_t> block, std::size_t at, bool targetLocal);

// After result 25, before the statistics decode: the State group, the
// interface layout and the indicators. Returns the new interface code
// (the previous one when the page names no valid slot).
int DecodeState(std::span<std::uint8_t> block, std::int32_t softwareLevel, std::int32_t modemVariant,
                bool targetLocal, int previousInterfaceCode, MainWindowControls& controls);

// After result 25: the Statistics group; returns parameter texts 1-4.
std::array<QString, 4> DecodeStatistics(std::span<const std::uint8_t> block, MainWindowControls& controls);

// After result 50: the loop page of the running test (0 RDL-ES .. 6 LL):
// line quality and rates, counters, interface and indicators as the test
// reports them, and the line condition in the state field. Never changes
// the layout. Returns the interface code now in force.
int DecodeLoop(std::span<const std::uint8_t> block, int testIndex, std::int32_t softwareLevel,
               std::int32_t modemVariant, int previousInterfaceCode, MainWindowControls& controls);

// Panels and fields for an interface code, and hiding all panels.
void ApplyInterfaceLayout(int interfaceCode, MainWindowControls& controls);
void HidePanels(MainWindowControls& controls);

// Blank test: LabelTest grey, ComboBoxTest disabled, the counter labels grey,
// the counter texts empty, ButtonClearTest disabled.
void BlankTest(MainWindowControls& controls);
// Blank test, then which counter fields are visible for a test index
// (0 RDL-ES .. 6 LL).
void ApplyCounterLayout(int testIndex, MainWindowControls& controls);

}  // namespace rkvt
