#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "sim/ModemModel.h"
#include "sim/Presets.h"

namespace rkvt::sim {

// One step of a scripted sequence: what changes, so many seconds after the
// emulator started. A script file holds one step a line:
//   30  quality=5 alarms=LOS,LOF link=down interface=eth100
struct ScriptStep {
  int atSeconds = 0;
  std::optional<std::uint8_t> quality;
  // The E1 alarm byte as the page carries it: a cleared bit is an alarm present.
  std::optional<std::uint8_t> e1Alarms;
  std::optional<bool> linkUp;
  std::optional<InterfaceChoice> interface;
  std::string text;  // the changes as written
};

// The steps in time order, or what is wrong and on which line.
std::variant<std::vector<ScriptStep>, std::string> ParseScript(std::istream& in);

// Applies a step to the local modem and the remote one, if any. False when
// a modem's pages cannot show the step's interface (it keeps its own).
bool ApplyStep(ModemModel& model, const ScriptStep& step);

}  // namespace rkvt::sim
