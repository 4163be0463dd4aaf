#include "sim/Presets.h"
#include "SimHarness.h"
#include "sim/SimOptions.h"

namespace rkvt::sim::test {
namespace {

std::variant<SimOptions, std::string> Parse(std::vector<std::string> args) { return ParseSimOptions(args); }
bool Refused(const std::variant<SimOptions, std::string>& v) { return std::holds_alternative<std::string>(v); }

ModemModel Build(std::vector<std::string> args) {
  args.insert(args.begin(), {"--link", "/tmp/x"});
  const auto options = Parse(args);
  if (const auto* error = std::get_if<std::string>(&options)) ADD_FAILURE() << *error;
  const auto model = Refused(options) ? std::string("refused") : BuildModel(std::get<SimOptions>(options));
  if (const auto* error = std::get_if<std::string>(&model)) ADD_FAILURE() << *error;
  return std::holds_alternative<ModemModel>(model) ? std::get<ModemModel>(model) : ModemModel();
}

TEST(SimPresets, IdentitiesAreTheOnesAskedFor) {
  // Name, type, version, third character, variant, software level.
  const std::tuple<const char*, int, int, char, int, int> expected[] = {
      {"gen1-old", 1, 0x21, '5', 0, 5},  {"gen1-p2", 1, 0x22, '5', 0, 7},  {"gen2-e1", 6, 0x31, '5', 0, 12},
      {"gen2-v4", 6, 0x40, '2', 7, 13},  {"gen2-v5", 6, 0x50, '1', 7, 14}, {"loader", 5, 0x10, '0', 0, 22},
  };
  for (const auto& [name, type, version, third, variant, level] : expected) {
    const Identity id = FindPreset(name).value_or(Preset{}).identity;
    EXPECT_EQ(std::tuple(int(id.type), int(id.version), id.third, int(id.variantCode), SoftwareLevel(id), id.loader),
              std::tuple(type, version, third, variant, level, level == 22))
        << name;
  }
  ModemModel e1 = ModelFor(*FindPreset("gen2-e1"));
  EXPECT_EQ(StatePage(e1)[6] >> 5, slot_interface::kE1);
}

// First layout: byte 9 = interface << 5 | cable. Second: slot A byte 6 =
// valid (0x10) | interface << 5; slot B byte 10.
TEST(SimState, EveryInterfaceReachesItsPageBytesOnBothModems) {
  const std::tuple<const char*, const char*, std::size_t, std::uint8_t, std::uint8_t> cases[] = {
      {"gen1-old", "p2-sync", 9, 18, 0},                {"gen1-old", "eth10", 9, (1 << 5) | 18, 0},
      {"gen1-old", "p2-async", 9, (2 << 5) | 18, 0},    {"gen1-old", "unknown", 9, (5 << 5) | 18, 0},
      {"gen2-e1", "p2-sync", 6, 0x10 | (1 << 5), 0},    {"gen2-e1", "eth10", 6, 0x10 | (2 << 5), 0},
      {"gen2-e1", "eth100", 6, 0x10 | (4 << 5), 0},     {"gen2-e1", "p2-async", 9, 0x80 | 0x10, 0},
      {"gen2-e1", "e1", 6, 0x10 | (3 << 5), 0},         {"gen2-e1", "e1-port2", 6, 0x10 | (3 << 5), 0x10 | (1 << 5)},
      {"gen2-v4", "unknown", 6, 0x10 | (6 << 5), 0},    {"gen1-p2", "eth100", 7, 0x40 | 0x01, 0},  // level 7: slots
  };
  for (const auto& [preset, interface, recordByte, value, slotB] : cases) {
    SCOPED_TRACE(std::string(preset) + " " + interface);
    ModemModel model = Build({"--preset", preset, "--interface", interface, "--cable", "18"});
    const Bytes page = StatePage(model);
    EXPECT_EQ(page[recordByte], value);
    EXPECT_EQ(slotB ? page[10] : page[10] & 0x10, slotB) << "slot B valid, or no activity on the first layout";
    Bytes remote = StatePage(model, false);
    remote[0] = page[0];  // the address
    EXPECT_EQ(remote, page) << "the remote modem is a copy";
  }
  // Record byte 11: the interface (E1 + KSI, Ethernet); byte 22: the module.
  const ConfigRecord e1 = Build({"--interface", "e1-port2"}).Local().config.Record();
  const ConfigRecord eth = Build({"--interface", "eth100"}).Local().config.Record();
  EXPECT_EQ(std::tuple(e1[11] & 7, e1[22] >> 5, eth[11] & 7, eth[22] >> 5), std::tuple(4, 3, 1, 4));
}

TEST(SimState, QualityLineRateLineConditionAndActivityReachThePage) {
  ModemModel model = Build({"--quality", "6", "--line-rate", "12", "--line", "freq", "--activity", "dl", "--actor",
                            "local-modem"});
  const Bytes page = StatePage(model);
  EXPECT_EQ(std::tuple(page[4], page[5], page[22], page[23]), std::tuple(0x10, 6 | (12 << 3), 0x40 | 0x10 | 0x02, 0x00));
}

TEST(SimState, EveryActivityNameGivesItsRecord) {
  const std::pair<const char*, ActivityRecord> cases[] = {
      {"none", {}},           {"setup", {0xA0}},       {"denied", {0x88}},     {"rdl-es", {0x90, 0x40}},
      {"rdl", {0x90, 0x80}},  {"al-es", {0x91, 0x00}}, {"es", {0x91, 0x80}},   {"al", {0x91, 0xC0}},
      {"dl", {0x92, 0x00}},   {"ll", {0x92, 0x80}},    {"slave", {0x12, 0x40, 0x90, 0x40}}, {"test:31", {0x97, 0xC0}},
  };
  for (const auto& [name, record] : cases) EXPECT_EQ(ParseActivity(name, Actor::RemoteTerminal), record) << name;
  const ActivityRecord unknown = ParseActivity("unknown", Actor::LocalTerminal).value_or(ActivityRecord{});
  EXPECT_TRUE(unknown[0] != 0 && (unknown[0] & 0x38) == 0) << "no setup, test or denied bit";
  EXPECT_FALSE(ParseActivity("test:32", Actor::LocalTerminal));
  EXPECT_FALSE(ParseActivity("test:", Actor::LocalTerminal));
}

TEST(SimOptions, RefusalsAndTheRemoteModemFollowTheOptions) {
  ModemModel model = Build({"--setup-held", "--connect", "busy", "--actor", "local-terminal"});
  const Frame setup = AnswerOf(model, Request(2, 1)).value_or(Frame{});
  const Frame loop = AnswerOf(model, Request(2, 2, {0, 1})).value_or(Frame{});
  // Response and record byte 4 (the holder) of each.
  EXPECT_EQ(std::tuple(setup[2], setup[5], loop[2], loop[5]), std::tuple(0x27, 0xE0, 0x33, 0xD0));
  EXPECT_TRUE(model.RemoteIdentity());
  EXPECT_FALSE(Build({"--no-remote"}).RemoteIdentity());
  ModemModel loader = Build({"--preset", "loader"});
  EXPECT_FALSE(loader.RemoteIdentity());
  EXPECT_EQ(loader.FirmwareAfterLoaderReset().value_or(Identity{.type = 0}).type, 6);
}

TEST(SimOptions, BadInputIsRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad{
      {"--link"}, {"--quality", "8", "--link", "p"}, {"--cable", "-1", "--link", "p"}, {"--baud", "fast", "--link", "p"},
      {"--bogus", "--link", "p"}, {}, {"--write-image", "x.vrk"}, {"--write-image", "x.vrk", "--version", "3.1"},
      {"--write-image", "x.vrk", "--version", "3.15", "--break", "E"},
  };
  for (const auto& args : bad) EXPECT_TRUE(Refused(Parse(args))) << args.size();
  for (const char* preset : {"nope", "gen1-old"}) {  // gen1 has no Ethernet 100
    const auto parsed = Parse({"--link", "p", "--preset", preset, "--interface", "eth100"});
    ASSERT_FALSE(Refused(parsed));
    EXPECT_TRUE(std::holds_alternative<std::string>(BuildModel(std::get<SimOptions>(parsed)))) << preset;
  }
}

TEST(SimOptions, ImageVersionTakesMajorMinorAndTheThirdCharacter) {
  // Text, then major, minor and third, or nothing for text that is refused.
  const std::pair<const char*, std::optional<std::tuple<int, int, char>>> cases[] = {
      {"3.15", {{3, 1, '5'}}},     {"0.00", {{0, 0, '0'}}}, {"7.02", {{7, 0, '2'}}}, {"1.105", {{1, 10, '5'}}},
      {"15.159", {{15, 15, '9'}}}, {"2.2x", {{2, 2, 'x'}}}, {"3.1", {}},  {"16.15", {}}, {"3.165", {}},
      {".15", {}},                 {"a.15", {}},            {"315", {}},
  };
  for (const auto& [text, expected] : cases) {
    ImageRecipe r;
    const bool valid = ParseImageVersion(text, r);
    EXPECT_EQ(valid ? std::optional(std::tuple(int(r.major), int(r.minor), r.third)) : std::nullopt, expected) << text;
  }
}

TEST(SimOptions, ImageOptionsReachTheRecipeAndHelpListsEveryName) {
  const auto parsed = Parse({"--write-image", "x.vrk", "--version", "5.01", "--kind", "7", "--break", "marker"});
  ASSERT_FALSE(Refused(parsed));
  const ImageRecipe& r = std::get<SimOptions>(parsed).image;
  EXPECT_EQ(std::tuple(int(r.major), int(r.minor), r.third, int(r.kind), r.spoil), std::tuple(5, 0, '1', 7, ImageBreak::Marker));
  std::vector<std::string> names{"--write-image", "--version", "--break", "--quality", "--cable", "--setup-held"};
  for (const auto& p : Presets()) names.push_back(p.name);
  for (const auto& i : InterfaceNames()) names.push_back(i.name);
  for (const auto& a : ActivityNames()) names.push_back(a.name);
  for (const auto& name : names) EXPECT_NE(UsageText().find(name), std::string::npos) << name;
}

}  // namespace
}  // namespace rkvt::sim::test

namespace rkvt::sim::test {
namespace {

TEST(SimSetup, RecordsFitTheModemAndTheOptionsReplaceThem) {
  // The PLN family gets a ceiling (bits 4-6) beside its rate index.
  const ConfigRecord pln = Build({"--preset", "gen2-v5"}).Local().config.Record();
  const ConfigRecord kap = Build({"--preset", "gen2-e1"}).Local().config.Record();
  EXPECT_EQ(std::tuple(pln[1], pln[20], pln[21], kap[1], kap[11] & 7, kap[22] >> 5), std::tuple(0x43, 1, 1, 0x03, 3, 3));

  std::string hex;
  for (int i = 0; i < 26; ++i) hex += "0123456789ABCDEF"[(i + 0xA0) >> 4 & 15], hex += "0123456789ABCDEF"[(i + 0xA0) & 15], hex += ' ';
  ModemModel own = Build({"--preset", "gen1-p2", "--firmware", "7.01", "--variant-code", "7", "--record", hex});
  EXPECT_EQ(std::tuple(SoftwareLevel(own.LocalIdentity()), ModemVariant(own.LocalIdentity())), std::tuple(17, 9));
  const Frame entered = AnswerOf(own, Request(2, 1)).value_or(Frame{});
  for (int i = 0; i < 26; ++i) EXPECT_EQ(entered[3 + i], 0xA0 + i) << "record byte " << i;
  const Frame remote = AnswerOf(own, Request(2, 1, {}, false)).value_or(Frame{});
  EXPECT_EQ(remote[3 + 25], 0xA0 + 25) << "the remote modem serves the same record";
  EXPECT_EQ((*own.Local().config.Profile(4))[21], 4);
  EXPECT_EQ((*own.Local().config.Profile(4))[25], 0xA0 + 25);

  const auto faults = Parse({"--link", "p", "--setup-fault", "set-mode:refuse", "--setup-fault", "enter:garble"});
  ASSERT_FALSE(Refused(faults));
  const auto& rules = std::get<SimOptions>(faults).faults;
  ASSERT_EQ(rules.size(), 2u);
  EXPECT_EQ(std::tuple(rules[0].fault, rules[0].code.value_or(0), rules[0].reply == ReplyKind::Answer),
            std::tuple(Fault::WrongResponse, 20, true));
  EXPECT_EQ(std::tuple(rules[1].fault, rules[1].code.value_or(0)), std::tuple(Fault::Garbled, 1));

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--record", hex.substr(3)}, {"--record", hex + "00"}, {"--record", "zz"}, {"--firmware", "8.00"},
           {"--firmware", "3.1"}, {"--variant-code", "8"}, {"--setup-fault", "set:refuse"},
           {"--setup-fault", "exit:late"}}) {
    std::vector<std::string> args{"--link", "p"};
    args.insert(args.end(), bad.begin(), bad.end());
    EXPECT_TRUE(Refused(Parse(args))) << bad[0] << " " << bad[1];
  }
}

}  // namespace
}  // namespace rkvt::sim::test
