#include "sim/ModemScript.h"

#include <array>
#include <sstream>

namespace rkvt::sim {

namespace {

// E1 alarm names and their bits in the slot byte.
struct AlarmBit {
  const char* name;
  int bit;
};
constexpr std::array kAlarms{
    AlarmBit{"LOF", 0}, AlarmBit{"LOS", 1}, AlarmBit{"RA", 2},  AlarmBit{"AIS", 3},
    AlarmBit{"LOT", 4}, AlarmBit{"E", 5},   AlarmBit{"CRC", 6}, AlarmBit{"CV", 7},
};

std::optional<std::uint8_t> ParseAlarms(const std::string& list) {
  std::uint8_t byte = 0xFF;
  if (list == "none") return byte;
  std::istringstream names(list);
  for (std::string name; std::getline(names, name, ',');) {
    const AlarmBit* found = nullptr;
    for (const AlarmBit& a : kAlarms)
      if (name == a.name) found = &a;
    if (!found) return std::nullopt;
    byte = static_cast<std::uint8_t>(byte & ~(1u << found->bit));
  }
  return byte;
}

// The problem with one "key=value", or nothing.
std::optional<std::string> ParseChange(const std::string& change, ScriptStep& step) {
  const std::size_t eq = change.find('=');
  const std::string key = change.substr(0, eq);
  const std::string value = eq == std::string::npos ? "" : change.substr(eq + 1);
  if (key == "quality" && value.size() == 1 && value[0] >= '0' && value[0] <= '7') {
    step.quality = static_cast<std::uint8_t>(value[0] - '0');
  } else if (key == "alarms" && (step.e1Alarms = ParseAlarms(value))) {
  } else if (key == "link" && (value == "up" || value == "down")) {
    step.linkUp = value == "up";
  } else if (key == "interface" && (step.interface = FindInterface(value))) {
  } else {
    return "bad change " + change;
  }
  return std::nullopt;
}

bool ApplyToPeer(ModemPeer& peer, const Identity& identity, const ScriptStep& step) {
  ModemState& s = peer.state;
  const bool shown = !step.interface || ApplyInterface(peer, LayoutOf(identity), *step.interface);
  if (step.quality) s.quality = *step.quality;
  if (step.e1Alarms) s.slotA.e1Alarms = s.slotB.e1Alarms = *step.e1Alarms;
  // Indicator bits are active low: a set link bit shows the link down.
  if (step.linkUp) s.ethernet.link = s.slotA.ethernet.link = s.slotB.ethernet.link = !*step.linkUp;
  return shown;
}

}  // namespace

std::variant<std::vector<ScriptStep>, std::string> ParseScript(std::istream& in) {
  std::vector<ScriptStep> steps;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::string where = "line " + std::to_string(number) + ": ";
    if (const std::size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string at;
    if (!(words >> at)) continue;
    ScriptStep step;
    if (at.size() > 6 || at.find_first_not_of("0123456789") != std::string::npos) return where + "bad time " + at;
    step.atSeconds = std::stoi(at);
    if (!steps.empty() && step.atSeconds < steps.back().atSeconds) return where + "time goes backwards";
    for (std::string change; words >> change;) {
      if (auto problem = ParseChange(change, step)) return where + *problem;
      step.text += (step.text.empty() ? "" : " ") + change;
    }
    if (step.text.empty()) return where + "no change";
    steps.push_back(std::move(step));
  }
  return steps;
}

bool ApplyStep(ModemModel& model, const ScriptStep& step) {
  bool shown = ApplyToPeer(model.Local(), model.LocalIdentity(), step);
  if (model.RemoteIdentity()) shown = ApplyToPeer(model.Remote(), *model.RemoteIdentity(), step) && shown;
  return shown;
}

}  // namespace rkvt::sim
