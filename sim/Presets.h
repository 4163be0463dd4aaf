#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/ActivityRecord.h"
#include "sim/ModemModel.h"

namespace rkvt::sim {

// The interfaces as the program names them, by its interface code 0-6.
enum class InterfaceChoice {
  Unknown = 0,
  P2Sync = 1,
  Ethernet10 = 2,
  Ethernet100 = 3,
  P2Async = 4,
  E1 = 5,
  E1WithPort2 = 6,
};

struct Preset {
  std::string name;
  std::string description;
  Identity identity;
  InterfaceChoice interface = InterfaceChoice::P2Sync;
  // What the modem runs after a reset through its loader.
  std::optional<Identity> firmwareAfterReset;
};

const std::vector<Preset>& Presets();
std::optional<Preset> FindPreset(const std::string& name);

// A model of the preset's modem with the preset's interface; no remote modem.
ModemModel ModelFor(const Preset& preset);

struct NamedInterface {
  const char* name;
  InterfaceChoice choice;
  const char* description;
};
const std::vector<NamedInterface>& InterfaceNames();
std::optional<InterfaceChoice> FindInterface(const std::string& name);

// Sets the state page (and the configuration record's interface and module
// bytes) of one modem to show this interface. Returns false when the page
// layout cannot express it (Ethernet 10/100 and E1 on the first layout).
bool ApplyInterface(ModemPeer& peer, PageLayout layout, InterfaceChoice choice);

struct NamedActivity {
  const char* name;
  const char* description;
};
const std::vector<NamedActivity>& ActivityNames();
// "none", "setup", "denied", a test name ("rdl-es", "rdl", "al-es", "es",
// "al", "dl", "ll"), "slave" (the far end of an RDL-ES), "unknown" (no
// activity bit set, shown as a dump), or "test:N" for any test code N.
std::optional<ActivityRecord> ParseActivity(const std::string& name, Actor actor);
std::optional<Actor> ParseActor(const std::string& name);

}  // namespace rkvt::sim
