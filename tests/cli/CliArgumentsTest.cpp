#include <gtest/gtest.h>

#include <optional>

#include "CliArguments.h"
#include "ReplyPrinter.h"

namespace rkvt::cli {
namespace {

QStringList Words(const char* line) { return QString::fromLatin1(line).split(' ', Qt::SkipEmptyParts); }

struct ValidCase {
  const char* name;
  const char* line;
  const char* command;
  std::vector<std::uint8_t> data;  // request bytes from byte 1
  const char* test = nullptr;      // test kind found, by its table name
  bool remote = false;
};

void PrintTo(const ValidCase& c, std::ostream* os) { *os << c.line; }

class ValidCommandLine : public ::testing::TestWithParam<ValidCase> {};

TEST_P(ValidCommandLine, GivesCommandAndRequestBytes) {
  const ValidCase& c = GetParam();
  const ParsedArguments parsed = ParseArguments(Words(c.line));
  ASSERT_EQ(parsed.kind, ParsedArguments::Kind::Run) << parsed.error.toStdString();
  ASSERT_NE(parsed.options.command, nullptr);
  EXPECT_EQ(parsed.options.command->name, c.command);
  EXPECT_EQ(parsed.options.port, QStringLiteral("ttyS1"));
  EXPECT_EQ(parsed.options.requestData, c.data);
  EXPECT_EQ(parsed.options.remote, c.remote);
  if (c.test) {
    ASSERT_NE(parsed.options.test, nullptr);
    EXPECT_EQ(parsed.options.test->name, c.test);
  } else {
    EXPECT_EQ(parsed.options.test, nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Parse, ValidCommandLine,
    ::testing::Values(
        ValidCase{"Identify", "--port ttyS1 identify", "identify", {}},
        ValidCase{"PortAfterCommand", "identify --port ttyS1", "identify", {}},
        ValidCase{"PortWithEquals", "--port=ttyS1 --remote stats", "stats", {}, nullptr, true},
        ValidCase{"ExitSetup", "--port ttyS1 exit-setup 00010203", "exit-setup", {0, 1, 2, 3}},
        ValidCase{"ExitSetupColons", "--port ttyS1 exit-setup a0:B1:c2:FF", "exit-setup", {0xA0, 0xB1, 0xC2, 0xFF}},
        ValidCase{"SetMode", "--port ttyS1 set-mode 000102030405060708090A0B0C0D0E0F10111213141516171819",
                  "set-mode", {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                               13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}},
        ValidCase{"LoadProfileOne", "--port ttyS1 load-profile 1", "load-profile", {0, 1}},
        ValidCase{"LoadProfileFive", "--port ttyS1 load-profile 5", "load-profile", {0, 5}},
        ValidCase{"SaveProfileTwo", "--port ttyS1 save-profile 2", "save-profile", {0, 2}},
        ValidCase{"SaveProfileFive", "--port ttyS1 save-profile 5", "save-profile", {0, 5}},
        ValidCase{"ConnectRdlEsLowerCase", "--port ttyS1 loop-connect rdl-es", "loop-connect", {0, 1}, "RDL-ES"},
        ValidCase{"ConnectLlRemote", "--port ttyS1 --remote loop-connect Ll", "loop-connect", {0, 10}, "LL", true},
        ValidCase{"DisconnectAl", "--port ttyS1 loop-disconnect AL", "loop-disconnect", {0, 7}, "AL"},
        // The page code waits for the level, so nothing is fixed yet.
        ValidCase{"LoopStatsLeavesDataOpen", "--port ttyS1 loop-stats dl", "loop-stats", {}, "DL"},
        ValidCase{"LoopResetStats", "--port ttyS1 loop-reset-stats", "loop-reset-stats", {}},
        ValidCase{"ResetLocal", "--port ttyS1 reset", "reset", {}},
        ValidCase{"FastTimeoutsAnywhere", "--port ttyS1 reset-stats --fast-timeouts", "reset-stats", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseArguments, CheckImageWithLevelNeedsNoPort) {
  const ParsedArguments parsed = ParseArguments(Words("check-image fw.vrk --level 12"));
  ASSERT_EQ(parsed.kind, ParsedArguments::Kind::Run) << parsed.error.toStdString();
  EXPECT_EQ(parsed.options.imageFile, QStringLiteral("fw.vrk"));
  EXPECT_EQ(parsed.options.level, 12);
  EXPECT_TRUE(parsed.options.port.isEmpty());
}

TEST(ParseArguments, CheckImageWithPortLeavesLevelToTheModem) {
  const ParsedArguments parsed = ParseArguments(Words("--port ttyS1 check-image fw.vrk"));
  ASSERT_EQ(parsed.kind, ParsedArguments::Kind::Run) << parsed.error.toStdString();
  EXPECT_FALSE(parsed.options.level.has_value());
}

TEST(ParseArguments, HelpWinsOverEverythingElse) {
  EXPECT_EQ(ParseArguments(Words("frobnicate --help")).kind, ParsedArguments::Kind::Help);
  EXPECT_EQ(ParseArguments(Words("-h")).kind, ParsedArguments::Kind::Help);
}

struct UsageCase {
  const char* name;
  const char* line;
  const char* error;
};

void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.line; }

class BadCommandLine : public ::testing::TestWithParam<UsageCase> {};

TEST_P(BadCommandLine, IsRefusedWithItsReason) {
  const ParsedArguments parsed = ParseArguments(Words(GetParam().line));
  EXPECT_EQ(parsed.kind, ParsedArguments::Kind::Usage);
  EXPECT_EQ(parsed.error.toStdString(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Parse, BadCommandLine,
    ::testing::Values(
        UsageCase{"Nothing", "", "no command given"},
        UsageCase{"OnlyPort", "--port ttyS1", "no command given"},
        UsageCase{"UnknownCommand", "--port ttyS1 frobnicate", "unknown command \"frobnicate\""},
        UsageCase{"CommandNamesAreLowerCase", "--port ttyS1 IDENTIFY", "unknown command \"IDENTIFY\""},
        UsageCase{"UnknownOption", "--port ttyS1 --verbose identify", "unknown option --verbose"},
        UsageCase{"PortWithoutValue", "identify --port", "--port needs a value"},
        UsageCase{"EmptyPort", "--port= identify", "--port needs a port name"},
        UsageCase{"NoPort", "identify", "identify needs --port NAME"},
        UsageCase{"ExtraArgument", "--port ttyS1 identify now", "unexpected argument \"now\" after identify"},
        UsageCase{"MissingPayload", "--port ttyS1 exit-setup", "missing argument: exit-setup PAYLOAD"},
        UsageCase{"PayloadOddDigits", "--port ttyS1 exit-setup 0001020", "PAYLOAD must be exactly 4 bytes as hex, not \"0001020\""},
        UsageCase{"PayloadNotHex", "--port ttyS1 exit-setup 0001020G", "PAYLOAD must be exactly 4 bytes as hex, not \"0001020G\""},
        UsageCase{"PayloadTooLong", "--port ttyS1 exit-setup 0001020304", "PAYLOAD must be exactly 4 bytes as hex, not \"0001020304\""},
        UsageCase{"RecordShortByOne",
                  "--port ttyS1 set-mode 000102030405060708090A0B0C0D0E0F101112131415161718",
                  "HEX must be exactly 26 bytes as hex, not \"000102030405060708090A0B0C0D0E0F101112131415161718\""},
        UsageCase{"LoadProfileZero", "--port ttyS1 load-profile 0", "profile number must be 1 to 5, not \"0\""},
        UsageCase{"LoadProfileSix", "--port ttyS1 load-profile 6", "profile number must be 1 to 5, not \"6\""},
        UsageCase{"LoadProfileWord", "--port ttyS1 load-profile two", "profile number must be 1 to 5, not \"two\""},
        UsageCase{"SaveProfileOne", "--port ttyS1 save-profile 1", "profile number must be 2 to 5, not \"1\""},
        UsageCase{"UnknownTest", "--port ttyS1 loop-connect XL",
                  "unknown test \"XL\"; tests: RDL-ES, AL-ES, ES, RDL, AL, DL, LL"},
        UsageCase{"LocalOnlyTestRemote", "--port ttyS1 --remote loop-connect es", "test ES runs on the local modem only"},
        UsageCase{"ResetRemote", "--port ttyS1 --remote reset", "reset works on the local modem only; --remote is refused"},
        UsageCase{"UpdateRemote", "--port ttyS1 --remote update fw.vrk", "update works on the local modem only; --remote is refused"},
        UsageCase{"LevelOutsideCheckImage", "--port ttyS1 --level 12 stats", "--level belongs to check-image"},
        UsageCase{"LevelNotANumber", "check-image fw.vrk --level high", "--level needs a number, not \"high\""},
        UsageCase{"CheckImageWithoutLevelOrPort", "check-image fw.vrk", "check-image needs --level N or --port NAME"},
        UsageCase{"CheckImageWithoutFile", "check-image --level 3", "missing argument: check-image FILE [--level N]"},
        UsageCase{"UpdateWithoutPort", "update fw.vrk", "update needs --port NAME"}),
    [](const auto& info) { return std::string(info.param.name); });

struct HexCase {
  const char* text;
  std::size_t count;
  std::optional<std::vector<std::uint8_t>> bytes;
};

void PrintTo(const HexCase& c, std::ostream* os) { *os << '"' << c.text << "\" for " << c.count; }

class HexBytesParse : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexBytesParse, TakesExactlyTheBytesAsked) {
  EXPECT_EQ(ParseHexBytes(QString::fromLatin1(GetParam().text), GetParam().count), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Hex, HexBytesParse,
    ::testing::Values(HexCase{"00ff7A", 3, std::vector<std::uint8_t>{0x00, 0xFF, 0x7A}},
                      HexCase{"00 ff 7A", 3, std::vector<std::uint8_t>{0x00, 0xFF, 0x7A}},
                      HexCase{"00:FF:7a", 3, std::vector<std::uint8_t>{0x00, 0xFF, 0x7A}},
                      HexCase{"0 0ff7A", 3, std::nullopt},   // a separator inside a byte
                      HexCase{"00ff7A", 2, std::nullopt},    // one byte too many
                      HexCase{"00ff", 3, std::nullopt},      // one too few
                      HexCase{"0x0102", 3, std::nullopt},    // no prefixes
                      HexCase{"", 1, std::nullopt}));

TEST(HexBytes, UpperCasePairsSeparatedByOneBlank) {
  const std::vector<std::uint8_t> bytes{0x02, 0xAB, 0x00, 0x0F};
  EXPECT_EQ(HexBytes(bytes), QStringLiteral("02 AB 00 0F"));
  EXPECT_EQ(HexBytes({}), QString());
}

}  // namespace
}  // namespace rkvt::cli
