#include "sim/SimOptions.h"

#include <cstdio>
#include <sstream>

#include "sim/Presets.h"

namespace rkvt::sim {

namespace {

std::optional<int> ParseInt(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  for (char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  const int value = std::stoi(text);
  if (value < low || value > high) return std::nullopt;
  return value;
}

// 26 bytes as hex digits; blanks and colons may separate bytes.
std::optional<ConfigRecord> ParseRecord(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (char c : text) {
    if ((c == ' ' || c == ':') && high < 0) continue;
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) return std::nullopt;
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
      high = -1;
    }
  }
  ConfigRecord record{};
  if (high >= 0 || bytes.size() != record.size()) return std::nullopt;
  std::copy(bytes.begin(), bytes.end(), record.begin());
  return record;
}

// "X.YZ": the working firmware of type 1 (1.xx, 2.xx) or type 6 (3.xx to 7.xx).
std::optional<Identity> ParseFirmware(const std::string& text) {
  if (text.size() != 4 || text[1] != '.') return std::nullopt;
  for (std::size_t i : {0u, 2u, 3u})
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  const int major = text[0] - '0';
  if (major < 1 || major > 7) return std::nullopt;
  return Identity{.type = static_cast<std::uint8_t>(major <= 2 ? 1 : 6),
                  .version = static_cast<std::uint8_t>(major << 4 | (text[2] - '0')),
                  .third = text[3]};
}

// "set-mode:refuse": which setup command's answers, and how they go wrong.
std::optional<FaultRule> ParseSetupFault(const std::string& text) {
  static const std::pair<const char*, std::uint8_t> kCommands[] = {
      {"enter", 1}, {"set-mode", 20}, {"exit", 24}, {"load", 22}, {"save", 21}};
  static const std::pair<const char*, Fault> kKinds[] = {
      {"refuse", Fault::WrongResponse}, {"garble", Fault::Garbled}, {"silent", Fault::NoReply}};
  const auto colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  FaultRule rule{.fault = Fault::NoReply, .reply = ReplyKind::Answer};
  bool command = false, kind = false;
  for (const auto& [name, code] : kCommands)
    if (text.substr(0, colon) == name) command = true, rule.code = code;
  for (const auto& [name, fault] : kKinds)
    if (text.substr(colon + 1) == name) kind = true, rule.fault = fault;
  if (!command || !kind) return std::nullopt;
  return rule;
}

std::string Bad(const std::string& option, const std::string& value) {
  return "bad value for " + option + ": " + value;
}

// Applies the state options to one modem of the given layout.
std::optional<std::string> ApplyState(const SimOptions& o, ModemPeer& peer, PageLayout layout) {
  ModemState& s = peer.state;
  if (o.interface) {
    const auto choice = FindInterface(*o.interface);
    if (!choice) return Bad("--interface", *o.interface);
    if (!ApplyInterface(peer, layout, *choice)) return "interface " + *o.interface + " needs two-slot pages (level 7 or more)";
  }
  if (o.quality) s.quality = static_cast<std::uint8_t>(*o.quality);
  if (o.lineRate) {
    s.lineRate = static_cast<std::uint8_t>(*o.lineRate);
    s.slotA.syncRate = s.slotB.syncRate = s.lineRate;
  }
  if (o.cable) s.cable = s.slotA.cable = s.slotB.cable = static_cast<std::uint8_t>(*o.cable);
  if (o.line) {
    s.line = {};
    if (*o.line == "freq") s.line.freqShiftTooHigh = true;
    else if (*o.line == "low") s.line.levelTooLow = true;
    else if (*o.line == "high") s.line.levelTooHigh = true;
    else if (*o.line != "normal") return Bad("--line", *o.line);
  }
  const auto actor = ParseActor(o.actor);
  if (!actor) return Bad("--actor", o.actor);
  if (o.activity) {
    const auto record = ParseActivity(*o.activity, *actor);
    if (!record) return Bad("--activity", *o.activity);
    s.activity = *record;
  }
  peer.config.setupHeld = o.setupHeld;
  peer.config.holder = SetupActivity(*actor);
  if (o.connect) {
    if (*o.connect == "ok") peer.loops.connectReply = ConnectReply::Connected;
    else if (*o.connect == "off") peer.loops.connectReply = ConnectReply::Off;
    else if (*o.connect == "busy") peer.loops.connectReply = ConnectReply::Busy;
    else return Bad("--connect", *o.connect);
    peer.loops.busyRecord = TestActivity(test_code::kRdlEs, *actor);
  }
  peer.loops.readsBeforeSilence = o.silentAfter;
  // Counters that move, for a demonstration.
  peer.stats.errorsPerMille = 5;
  peer.stats.Values().faults = 0x001F;
  peer.loops.erroredPerMille = 20;
  peer.loops.severelyErroredPerMille = 5;
  peer.loops.bitsPerSecond = 3;
  return std::nullopt;
}

}  // namespace

std::variant<SimOptions, std::string> ParseSimOptions(const std::vector<std::string>& args) {
  SimOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    if (arg == "--no-remote") {
      o.remote = false;
      continue;
    }
    if (arg == "--setup-held") {
      o.setupHeld = true;
      continue;
    }
    if (i + 1 >= args.size()) return "unknown option or missing value: " + arg;
    const std::string& value = args[++i];
    if (arg == "--link") o.link = value;
    else if (arg == "--preset") o.preset = value;
    else if (arg == "--baud") {
      const auto baud = ParseInt(value, 1, 10'000'000);
      if (!baud) return Bad(arg, value);
      o.baud = *baud;
    } else if (arg == "--interface") o.interface = value;
    else if (arg == "--quality") {
      if (!(o.quality = ParseInt(value, 0, 7))) return Bad(arg, value);
    } else if (arg == "--line-rate") {
      if (!(o.lineRate = ParseInt(value, 0, 15))) return Bad(arg, value);
    } else if (arg == "--cable") {
      if (!(o.cable = ParseInt(value, 0, 31))) return Bad(arg, value);
    } else if (arg == "--line") o.line = value;
    else if (arg == "--activity") o.activity = value;
    else if (arg == "--actor") o.actor = value;
    else if (arg == "--connect") o.connect = value;
    else if (arg == "--record") {
      if (!(o.record = ParseRecord(value))) return Bad(arg, value);
    } else if (arg == "--firmware") {
      if (!(o.firmware = ParseFirmware(value))) return Bad(arg, value);
    } else if (arg == "--variant-code") {
      const auto code = ParseInt(value, 0, 7);
      if (!code) return Bad(arg, value);
      o.variantCode = static_cast<std::uint8_t>(*code);
    } else if (arg == "--setup-fault") {
      const auto rule = ParseSetupFault(value);
      if (!rule) return Bad(arg, value);
      o.faults.push_back(*rule);
    } else if (arg == "--silent-after") {
      if (!(o.silentAfter = ParseInt(value, 0, 1'000'000))) return Bad(arg, value);
    }
    else if (arg == "--script") o.script = value;
    else if (arg == "--write-image") o.imagePath = value;
    else if (arg == "--version") {
      if (!ParseImageVersion(value, o.image)) return Bad(arg, value);
      o.imageVersionGiven = true;
    } else if (arg == "--kind") {
      const auto kind = ParseInt(value, 0, 255);
      if (!kind) return Bad(arg, value);
      o.image.kind = static_cast<std::uint8_t>(*kind);
    } else if (arg == "--break") {
      const auto spoil = ParseImageBreak(value);
      if (!spoil) return Bad(arg, value);
      o.image.spoil = *spoil;
    } else {
      return "unknown option: " + arg;
    }
  }
  if (o.help) return o;
  if (!o.imagePath.empty()) {
    if (!o.imageVersionGiven) return "--write-image needs --version X.YZ";
    return o;
  }
  if (o.link.empty()) return "--link PATH is required";
  return o;
}

std::variant<ModemModel, std::string> BuildModel(const SimOptions& o) {
  auto preset = FindPreset(o.preset);
  if (!preset) return "unknown preset: " + o.preset;
  // A loader preset keeps its loader; the firmware options shape what it starts.
  Identity& running = preset->firmwareAfterReset ? *preset->firmwareAfterReset : preset->identity;
  if (o.firmware) running = *o.firmware;
  if (o.variantCode) running.variantCode = *o.variantCode;
  ModemModel model = ModelFor(*preset);
  const Identity& firmware = preset->firmwareAfterReset.value_or(preset->identity);
  if (auto error = ApplyState(o, model.Local(), LayoutOf(firmware))) return *error;
  if (o.record) model.Local().config.Replace(*o.record);
  if (o.remote && !preset->identity.loader) {
    model.RemoteIdentity() = preset->identity;
    model.Remote() = model.Local();
  }
  return model;
}

std::string UsageText() {
  std::ostringstream out;
  out << "usage: r-kvt-ms-sim --link PATH [--preset NAME] [--baud N] [--no-remote] [state options]\n"
         "       r-kvt-ms-sim --write-image PATH --version X.YZ [--kind K] [--break WHAT]\n"
         "\n"
         "Serves an emulated modem on a new pty, puts a symbolic link to it at PATH,\n"
         "prints PATH and serves until interrupted. The remote modem is a copy of the\n"
         "local one unless --no-remote is given.\n"
         "  --preset NAME      the modem to emulate (default gen2-e1)\n"
         "  --baud N           time every character as on a line of N baud (default: unpaced)\n"
         "\n"
         "presets:\n";
  for (const auto& p : Presets()) out << "  " << p.name << std::string(p.name.size() < 10 ? 10 - p.name.size() : 1, ' ') << p.description << "\n";
  out << "\n"
         "state options (for both modems):\n"
         "  --interface NAME   the interface the state page reports:\n";
  for (const auto& i : InterfaceNames()) {
    const std::string name = i.name;
    out << "                       " << name << std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') << i.description << "\n";
  }
  out << "  --quality N        line quality class 0-7 (0-4 A-E, 5 no line, 6-7 unknown)\n"
         "  --line-rate N      line bit rate index (3 bits on first-layout pages, 4 on two-slot pages)\n"
         "  --cable N          cable code 0-31: DTE not supported 2,4,5,12,13,14; RS-232 18;\n"
         "                     RS-449/530 20,28; RS-485 21; V.35 30; no cable 31; others a cable error\n"
         "  --line WHAT        line condition: normal, freq (shift too high), low, high (input level)\n"
         "  --activity KIND    the activity record the state page reports:\n";
  for (const auto& a : ActivityNames()) {
    const std::string name = a.name;
    out << "                       " << name << std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') << a.description << "\n";
  }
  out << "  --actor WHO        who the activity, setup holder or busy record names: local-terminal,\n"
         "                     local-modem, remote-terminal (default), remote-modem\n"
         "  --setup-held       refuse enter setup (0x27) with a setup record of --actor\n"
         "  --connect REPLY    answer to connect loop: ok (0x31), off (0x32), busy (0x33 + a test record)\n"
         "  --silent-after N   answer N loop statistics reads, then acknowledge them but never answer\n"
         "                     (a line gone silent during a test)\n"
         "  --script FILE      timed changes, one line each: SECONDS CHANGE...; changes are\n"
         "                     quality=0-7, alarms=none or a list of LOS,LOF,RA,AIS,LOT,E,CRC,CV,\n"
         "                     link=up|down (Ethernet), interface=NAME; # starts a comment\n"
         "\n"
         "setup options:\n"
         "  --firmware X.YZ    run this working firmware instead (1.xx-2.xx type 1, 3.xx-7.xx type 6);\n"
         "                     its level shapes pages and the default configuration record\n"
         "  --variant-code N   variant code 0-7 in the identify answer (type 6): 3.xx/4.xx 1 KBL,\n"
         "                     2 KT60U, 4 KT24, 5 KBU, 6 KT60L, 7 KAP3K (3.15+) or PLN-3K (4.xx);\n"
         "                     7 with 5.xx PLN-1K, 6.xx PLN-3K, 7.xx PLN-2K\n"
         "  --record HEX       the configuration record in force: 26 bytes as hex; the five\n"
         "                     profiles start as copies of it (byte 21 set to their number)\n"
         "  --setup-fault CMD:KIND  answers to a setup command go wrong: CMD enter, set-mode,\n"
         "                     exit, load or save; KIND refuse (wrong response code), garble,\n"
         "                     silent (no answer); may be given more than once\n"
         "\n"
         "image options:\n"
         "  --write-image PATH write a firmware image file and exit\n"
         "  --version X.YZ     its version, e.g. 3.15\n"
         "  --kind K           image kind in the version marker (default 6)\n"
         "  --break WHAT       spoil it: A, B, C, D (an area's checksum), size (one byte short),\n"
         "                     marker (no accepted version marker), length (area B over its bound)\n";
  return out.str();
}

}  // namespace rkvt::sim
