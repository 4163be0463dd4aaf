#include "sim/Presets.h"

#include <algorithm>

namespace rkvt::sim {

namespace {
constexpr Identity kGen2Firmware315{.type = 6, .version = 0x31, .third = '5', .variantCode = 0};
}  // namespace

const std::vector<Preset>& Presets() {
  static const std::vector<Preset> presets{
      {"gen1-old", "R-KVT-MS, firmware 2.15 (level 5: first-layout pages), P2 synchronous",
       {.type = 1, .version = 0x21, .third = '5'}, InterfaceChoice::P2Sync, std::nullopt},
      {"gen1-p2", "R-KVT-MS, firmware 2.25 (level 7: two-slot pages), P2 synchronous",
       {.type = 1, .version = 0x22, .third = '5'}, InterfaceChoice::P2Sync, std::nullopt},
      {"gen2-e1", "R-KVT-MS-2, firmware 3.15, variant 0, E1 module", kGen2Firmware315, InterfaceChoice::E1,
       std::nullopt},
      {"gen2-v4", "R-KVT-MS-2, firmware 4.02, variant code 7 (PLN-3K)",
       {.type = 6, .version = 0x40, .third = '2', .variantCode = 7}, InterfaceChoice::P2Sync, std::nullopt},
      {"gen2-v5", "R-KVT-MS-2, firmware 5.01, variant code 7 (PLN-1K)",
       {.type = 6, .version = 0x50, .third = '1', .variantCode = 7}, InterfaceChoice::P2Sync, std::nullopt},
      {"unknown", "a modem of a type the program does not know (type 11)",
       {.reserved = 0x4B, .type = 11, .version = 0x12, .third = '3'}, InterfaceChoice::P2Sync, std::nullopt},
      {"loader", "R-KVT-MS-2 in its loader (type 5); a loader reset starts firmware 3.15",
       {.type = 5, .version = 0x10, .third = '0', .loader = true}, InterfaceChoice::E1, kGen2Firmware315},
      {"loader1", "R-KVT-MS in its loader (type 2)", {.type = 2, .version = 0x10, .third = '3', .loader = true},
       InterfaceChoice::P2Sync, std::nullopt},
  };
  return presets;
}

std::optional<Preset> FindPreset(const std::string& name) {
  const auto& all = Presets();
  const auto it = std::find_if(all.begin(), all.end(), [&](const Preset& p) { return p.name == name; });
  if (it == all.end()) return std::nullopt;
  return *it;
}

ModemModel ModelFor(const Preset& preset) {
  ModemModel model(preset.identity);
  // A loader's pages are never read; lay them out for the firmware it starts.
  const Identity& firmware = preset.firmwareAfterReset.value_or(preset.identity);
  ApplyInterface(model.Local(), LayoutOf(firmware), preset.interface);
  model.FirmwareAfterLoaderReset() = preset.firmwareAfterReset;
  return model;
}

const std::vector<NamedInterface>& InterfaceNames() {
  static const std::vector<NamedInterface> names{
      {"p2-sync", InterfaceChoice::P2Sync, "P2 synchronous (code 1)"},
      {"eth10", InterfaceChoice::Ethernet10, "Ethernet QLD-ENX, 10 Mbit/s (code 2)"},
      {"eth100", InterfaceChoice::Ethernet100, "Ethernet QLD-ENX100 at 100 Mbit/s (code 3; two-slot pages only)"},
      {"p2-async", InterfaceChoice::P2Async, "P2 asynchronous (code 4)"},
      {"e1", InterfaceChoice::E1, "E1 (code 5; two-slot pages only)"},
      {"e1-port2", InterfaceChoice::E1WithPort2, "E1 in slot A, P2 in slot B (code 6 from level 11)"},
      {"unknown", InterfaceChoice::Unknown, "an interface the program does not know (code 0)"},
  };
  return names;
}

std::optional<InterfaceChoice> FindInterface(const std::string& name) {
  for (const auto& n : InterfaceNames())
    if (name == n.name) return n.choice;
  return std::nullopt;
}

bool ApplyInterface(ModemPeer& peer, PageLayout layout, InterfaceChoice choice) {
  ModemState& s = peer.state;
  ConfigRecord& record = peer.config.Record();
  // Byte 11 of the record: 0 P2 sync, 1 Ethernet, 2 P2 async, 3 E1, 4 E1 + KSI.
  std::uint8_t recordInterface = 0;
  if (layout == PageLayout::First) {
    switch (choice) {
      case InterfaceChoice::P2Sync: s.interface = gen1_interface::kP2Sync; break;
      case InterfaceChoice::Ethernet10: s.interface = gen1_interface::kEthernet; recordInterface = 1; break;
      case InterfaceChoice::P2Async: s.interface = gen1_interface::kP2Async; recordInterface = 2; break;
      case InterfaceChoice::Unknown: s.interface = 5; break;
      default: return false;
    }
    record[23] &= 0xFE;  // the QLD-ENX module is fitted
  } else {
    s.slotA = {.valid = true};
    s.slotB = {};
    std::uint8_t modules = 0;  // slot codes: 2 QLD-ENX, 3 E1, 4 QLD-ENX100
    switch (choice) {
      case InterfaceChoice::P2Sync: break;
      case InterfaceChoice::P2Async:
        s.slotA.async = true;
        s.slotA.asyncRate = 1;
        recordInterface = 2;
        break;
      case InterfaceChoice::Ethernet10:
        s.slotA.interface = slot_interface::kEthernet10;
        modules = 2 << 5;
        recordInterface = 1;
        break;
      case InterfaceChoice::Ethernet100:
        s.slotA.interface = slot_interface::kEthernet100;
        s.slotA.ethernet.speed100 = true;
        modules = 4 << 5;
        recordInterface = 1;
        break;
      case InterfaceChoice::E1:
        s.slotA.interface = slot_interface::kE1;
        modules = 3 << 5;
        recordInterface = 3;
        break;
      case InterfaceChoice::E1WithPort2:
        s.slotA.interface = slot_interface::kE1;
        s.slotB = {.valid = true, .interface = slot_interface::kP2};
        modules = 3 << 5;
        recordInterface = 4;
        break;
      case InterfaceChoice::Unknown: s.slotA.interface = 6; break;
    }
    record[ConfigStore::kModulesByte] = modules;
  }
  record[11] = static_cast<std::uint8_t>((record[11] & 0xF8) | recordInterface);
  return true;
}

const std::vector<NamedActivity>& ActivityNames() {
  static const std::vector<NamedActivity> names{
      {"none", "nobody holds the modem: the state shows the line condition"},
      {"setup", "setup activated"},
      {"denied", "access denied"},
      {"rdl-es", "test RDL-ES (master)"},
      {"rdl", "test RDL (master)"},
      {"al-es", "test AL-ES"},
      {"es", "test ES"},
      {"al", "test AL"},
      {"dl", "test DL"},
      {"ll", "test LL"},
      {"slave", "far end of an RDL-ES test (slave)"},
      {"unknown", "a record with no activity bit, shown as a dump"},
      {"test:N", "a test with code N (0-31)"},
  };
  return names;
}

std::optional<ActivityRecord> ParseActivity(const std::string& name, Actor actor) {
  static const std::pair<const char*, std::uint8_t> kTests[] = {
      {"rdl-es", test_code::kRdlEs}, {"rdl", test_code::kRdl}, {"al-es", test_code::kAlEs},
      {"es", test_code::kEs},        {"al", test_code::kAl},   {"dl", test_code::kDl},
      {"ll", test_code::kLl},
  };
  if (name == "none") return NoActivity();
  if (name == "setup") return SetupActivity(actor);
  if (name == "denied") return AccessDeniedActivity(actor);
  if (name == "slave") return SlaveTestActivity(test_code::kRdlEs, actor);
  if (name == "unknown") return ActivityRecord{0xC1, 0x23, 0x45, 0x67, 0, 0};
  for (const auto& [testName, code] : kTests)
    if (name == testName) return TestActivity(code, actor);
  if (name.rfind("test:", 0) == 0 && name.size() > 5 && name.size() <= 7 &&
      std::all_of(name.begin() + 5, name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    const int code = std::stoi(name.substr(5));
    if (code <= 31) return TestActivity(static_cast<std::uint8_t>(code), actor);
  }
  return std::nullopt;
}

std::optional<Actor> ParseActor(const std::string& name) {
  if (name == "local-terminal") return Actor::LocalTerminal;
  if (name == "local-modem") return Actor::LocalModem;
  if (name == "remote-terminal") return Actor::RemoteTerminal;
  if (name == "remote-modem") return Actor::RemoteModem;
  return std::nullopt;
}

}  // namespace rkvt::sim
