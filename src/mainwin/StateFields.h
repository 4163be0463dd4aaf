#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

#include "mainwin/MainWindowControls.h"

namespace rkvt {

// The pieces of the State group that the state decode and the loop decode
// share. Each reads the page of its own generation (software level).

// Interface, speed, cable and indicators; returns the interface code. On a
// second-generation page with no valid slot nothing changes and
// previousInterfaceCode comes back.
int DecodeInterface(std::span<const std::uint8_t> block, std::int32_t softwareLevel, int previousInterfaceCode,
                    MainWindowControls& controls);

// Cable text and colour of a 5-bit cable code; the background stays.
void ShowCable(std::uint8_t cableCode, MainWindowControls& controls);

// Port bit rate for the given interface code; codes without a port rate, and
// a second-generation page with no valid slot, leave the field alone.
void ShowPortBitRate(std::span<const std::uint8_t> block, std::int32_t softwareLevel, std::int32_t modemVariant,
                     int interfaceCode, MainWindowControls& controls);

// Line quality class and line bit rate from byte 5.
void ShowLineQuality(std::span<const std::uint8_t> block, MainWindowControls& controls);
void ShowLineBitRate(std::span<const std::uint8_t> block, std::int32_t softwareLevel, std::int32_t modemVariant,
                     MainWindowControls& controls);

// The line condition of byte 4 in the state field ("Normal" or a red fault).
void ShowLineCondition(std::span<const std::uint8_t> block, MainWindowControls& controls);

// The state field: "Error" without a line, else the activity of the record
// at activityAt, else the line condition.
void ShowStateText(std::span<std::uint8_t> block, std::size_t activityAt, bool targetLocal,
                   MainWindowControls& controls);

}  // namespace rkvt
