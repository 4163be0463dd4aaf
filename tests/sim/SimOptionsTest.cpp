#include <gtest/gtest.h>

#include "Presets.h"
#include "SimHarness.h"
#include "SimOptions.h"

namespace rkvt::sim::test {
namespace {

std::variant<SimOptions, std::string> Parse(std::vector<std::string> args) { return ParseSimOptions(args); }

ModemModel Build(std::vector<std::string> args) {
  args.insert(args.begin(), {"--link", "/tmp/x"});
  const auto options = Parse(args);
  if (const auto* error = std::get_if<std::string>(&options)) ADD_FAILURE() << *error;
  auto model = BuildModel(std::get<SimOptions>(options));
  if (const auto* error = std::get_if<std::string>(&model)) {
    ADD_FAILURE() << *error;
    return ModemModel();
  }
  return std::get<ModemModel>(model);
}

std::vector<std::uint8_t> StatePage(ModemModel& model) {
  const std::uint8_t page = LayoutOf(model.LocalIdentity()) == PageLayout::First ? 1 : 7;
  const auto a = AnswerOf(model, Request(2, 3, {0, page}));
  EXPECT_TRUE(a);
  return a ? std::vector<std::uint8_t>(a->begin() + 1, a->begin() + 29) : std::vector<std::uint8_t>(28);
}

TEST(SimPresets, IdentitiesAreTheOnesAskedFor) {
  struct Expected {
    const char* name;
    std::uint8_t type, version;
    char third;
    std::uint8_t variant;
    int level;
  };
  const Expected expected[] = {
      {"gen1-old", 1, 0x21, '5', 0, 5},  {"gen1-p2", 1, 0x22, '5', 0, 7},   {"gen2-e1", 6, 0x31, '5', 0, 12},
      {"gen2-v4", 6, 0x40, '2', 7, 13},  {"gen2-v5", 6, 0x50, '1', 7, 14},  {"loader", 5, 0x10, '0', 0, 22},
  };
  for (const auto& e : expected) {
    const auto preset = FindPreset(e.name);
    ASSERT_TRUE(preset) << e.name;
    EXPECT_EQ(preset->identity.type, e.type) << e.name;
    EXPECT_EQ(preset->identity.version, e.version) << e.name;
    EXPECT_EQ(preset->identity.third, e.third) << e.name;
    EXPECT_EQ(preset->identity.variantCode, e.variant) << e.name;
    EXPECT_EQ(SoftwareLevel(preset->identity), e.level) << e.name;
  }
  EXPECT_TRUE(FindPreset("loader")->identity.loader);
  ModemModel e1 = ModelFor(*FindPreset("gen2-e1"));
  EXPECT_EQ(StatePage(e1)[6] >> 5, slot_interface::kE1);
}

struct InterfaceCase {
  const char* name;
  const char* preset;
  const char* interface;
  std::size_t recordByte;  // where the interface field sits
  std::uint8_t value;      // the byte there
  std::size_t slotB;       // record byte 10 for two-slot pages
};

class EveryInterface : public ::testing::TestWithParam<InterfaceCase> {};

TEST_P(EveryInterface, ReachesItsPageBytesAndRecordInterface) {
  const auto& c = GetParam();
  ModemModel model = Build({"--preset", c.preset, "--interface", c.interface, "--cable", "18"});
  const auto page = StatePage(model);
  EXPECT_EQ(page[c.recordByte], c.value);
  if (LayoutOf(model.LocalIdentity()) == PageLayout::Second) {
    EXPECT_EQ(page[10] & 0x10, c.slotB & 0x10) << "slot B valid";
    if (c.slotB) {
      EXPECT_EQ(page[10], c.slotB);
    }
  }
  EXPECT_EQ(model.Remote().state.interface, model.Local().state.interface) << "the remote modem is a copy";
}

// First layout: byte 9 = interface << 5 | cable. Second: slot A byte 6 =
// valid (0x10) | interface << 5; slot B byte 10.
INSTANTIATE_TEST_SUITE_P(
    BothLayouts, EveryInterface,
    ::testing::Values(InterfaceCase{"Gen1P2Sync", "gen1-old", "p2-sync", 9, 18, 0},
                      InterfaceCase{"Gen1Ethernet", "gen1-old", "eth10", 9, (1 << 5) | 18, 0},
                      InterfaceCase{"Gen1P2Async", "gen1-old", "p2-async", 9, (2 << 5) | 18, 0},
                      InterfaceCase{"Gen1Unknown", "gen1-old", "unknown", 9, (5 << 5) | 18, 0},
                      InterfaceCase{"Gen2P2Sync", "gen2-e1", "p2-sync", 6, 0x10 | (1 << 5), 0},
                      InterfaceCase{"Gen2Ethernet10", "gen2-e1", "eth10", 6, 0x10 | (2 << 5), 0},
                      InterfaceCase{"Gen2Ethernet100", "gen2-e1", "eth100", 6, 0x10 | (4 << 5), 0},
                      InterfaceCase{"Gen2P2Async", "gen2-e1", "p2-async", 9, 0x80 | 0x10, 0},
                      InterfaceCase{"Gen2E1", "gen2-e1", "e1", 6, 0x10 | (3 << 5), 0},
                      InterfaceCase{"Gen2E1Port2", "gen2-e1", "e1-port2", 6, 0x10 | (3 << 5), 0x10 | (1 << 5)},
                      InterfaceCase{"Gen2Unknown", "gen2-v4", "unknown", 6, 0x10 | (6 << 5), 0},
                      InterfaceCase{"Level7UsesSlots", "gen1-p2", "eth100", 7, 0x40 | 0x01, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimState, RecordInterfaceAndModulesFollowTheInterface) {
  ModemModel model = Build({"--interface", "e1-port2"});
  EXPECT_EQ(model.Local().config.Record()[11] & 7, 4) << "E1 + KSI";
  EXPECT_EQ(model.Local().config.Record()[22] >> 5, 3) << "E1 module";
  model = Build({"--interface", "eth100"});
  EXPECT_EQ(model.Local().config.Record()[11] & 7, 1);
  EXPECT_EQ(model.Local().config.Record()[22] >> 5, 4);
}

TEST(SimState, QualityLineRateLineConditionAndActivityReachThePage) {
  ModemModel model = Build({"--quality", "6", "--line-rate", "12", "--line", "freq", "--activity", "dl", "--actor",
                            "local-modem"});
  const auto page = StatePage(model);
  EXPECT_EQ(page[4], 0x10);
  EXPECT_EQ(page[5], 6 | (12 << 3));
  EXPECT_EQ(page[22], 0x40 | 0x10 | 0x02);
  EXPECT_EQ(page[23], 0x00);
}

TEST(SimState, EveryActivityNameGivesItsRecord) {
  const std::pair<const char*, ActivityRecord> cases[] = {
      {"none", {}},
      {"setup", {0xA0}},
      {"denied", {0x88}},
      {"rdl-es", {0x90, 0x40}},
      {"rdl", {0x90, 0x80}},
      {"al-es", {0x91, 0x00}},
      {"es", {0x91, 0x80}},
      {"al", {0x91, 0xC0}},
      {"dl", {0x92, 0x00}},
      {"ll", {0x92, 0x80}},
      {"slave", {0x12, 0x40, 0x90, 0x40}},
      {"test:31", {0x97, 0xC0}},
  };
  for (const auto& [name, record] : cases) {
    const auto parsed = ParseActivity(name, Actor::RemoteTerminal);
    ASSERT_TRUE(parsed) << name;
    EXPECT_EQ(*parsed, record) << name;
  }
  const auto unknown = ParseActivity("unknown", Actor::LocalTerminal);
  ASSERT_TRUE(unknown);
  EXPECT_EQ((*unknown)[0] & 0x38, 0) << "no setup, test or denied bit";
  EXPECT_NE((*unknown)[0], 0);
  EXPECT_FALSE(ParseActivity("test:32", Actor::LocalTerminal));
  EXPECT_FALSE(ParseActivity("test:", Actor::LocalTerminal));
}

TEST(SimState, RefusalOptionsSetTheModel) {
  ModemModel model = Build({"--setup-held", "--connect", "busy", "--actor", "local-terminal"});
  const auto setup = AnswerOf(model, Request(2, 1));
  ASSERT_TRUE(setup);
  EXPECT_EQ(setup->at(2), 0x27);
  EXPECT_EQ(RecordByte(*setup, 4), 0xE0);
  const auto loop = AnswerOf(model, Request(2, 2, {0, 1}));
  ASSERT_TRUE(loop);
  EXPECT_EQ(loop->at(2), 0x33);
  EXPECT_EQ(RecordByte(*loop, 4), 0xD0);
}

TEST(SimOptions, RemoteModemUnlessRefusedOrInTheLoader) {
  EXPECT_TRUE(Build({}).RemoteIdentity());
  EXPECT_FALSE(Build({"--no-remote"}).RemoteIdentity());
  ModemModel loader = Build({"--preset", "loader"});
  EXPECT_FALSE(loader.RemoteIdentity());
  EXPECT_EQ(loader.FirmwareAfterLoaderReset()->type, 6);
}

TEST(SimOptions, BadInputIsRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad{
      {"--link"},
      {"--quality", "8", "--link", "p"},
      {"--cable", "-1", "--link", "p"},
      {"--baud", "fast", "--link", "p"},
      {"--bogus", "--link", "p"},
      {},
      {"--write-image", "x.vrk"},
      {"--write-image", "x.vrk", "--version", "3.1"},
      {"--write-image", "x.vrk", "--version", "3.15", "--break", "E"},
  };
  for (const auto& args : bad) EXPECT_TRUE(std::holds_alternative<std::string>(Parse(args))) << args.size();

  const auto gen1Ethernet100 = Parse({"--link", "p", "--preset", "gen1-old", "--interface", "eth100"});
  ASSERT_TRUE(std::holds_alternative<SimOptions>(gen1Ethernet100));
  EXPECT_TRUE(std::holds_alternative<std::string>(BuildModel(std::get<SimOptions>(gen1Ethernet100))));
  EXPECT_TRUE(std::holds_alternative<std::string>(BuildModel(std::get<SimOptions>(Parse({"--link", "p", "--preset", "nope"})))));
}

TEST(SimOptions, ImageOptionsReachTheRecipe) {
  const auto parsed = Parse({"--write-image", "x.vrk", "--version", "5.01", "--kind", "7", "--break", "marker"});
  ASSERT_TRUE(std::holds_alternative<SimOptions>(parsed));
  const ImageRecipe& recipe = std::get<SimOptions>(parsed).image;
  EXPECT_EQ(recipe.major, 5);
  EXPECT_EQ(recipe.minor, 0);
  EXPECT_EQ(recipe.third, '1');
  EXPECT_EQ(recipe.kind, 7);
  EXPECT_EQ(recipe.spoil, ImageBreak::Marker);
}

TEST(SimOptions, HelpListsEveryPresetInterfaceAndActivity) {
  const std::string help = UsageText();
  for (const auto& p : Presets()) EXPECT_NE(help.find(p.name), std::string::npos) << p.name;
  for (const auto& i : InterfaceNames()) EXPECT_NE(help.find(i.name), std::string::npos) << i.name;
  for (const auto& a : ActivityNames()) EXPECT_NE(help.find(a.name), std::string::npos) << a.name;
  for (const char* option : {"--write-image", "--version", "--break", "--quality", "--cable", "--setup-held"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace rkvt::sim::test
