#include <gtest/gtest.h>

#include <optional>

#include "cli/CliArguments.h"
#include "cli/ExitStatus.h"
#include "cli/ReplyPrinter.h"
#include "link/TestKinds.h"
#include "cli/WorkerOutcome.h"

namespace rkvt::cli {
namespace {

ParsedArguments Parse(const char* line) {
  return ParseArguments(QString::fromLatin1(line).split(' ', Qt::SkipEmptyParts));
}

TEST(ParseArguments, ValidCommandLineGivesCommandAndRequestBytes) {
  // data: the request bytes from byte 1; test: the test kind found, by its table name.
  const struct { const char *line, *command; std::vector<std::uint8_t> data; const char* test = "none";
                 bool remote = false; } cases[] = {
      {"--port ttyS1 identify", "identify", {}},
      {"identify --port ttyS1", "identify", {}},
      {"--port=ttyS1 --remote stats", "stats", {}, "none", true},
      {"--port ttyS1 exit-setup a0:B1:c2:FF", "exit-setup", {0xA0, 0xB1, 0xC2, 0xFF}},
      {"--port ttyS1 set-mode 000102030405060708090A0B0C0D0E0F10111213141516171819", "set-mode",
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}},
      {"--port ttyS1 load-profile 1", "load-profile", {0, 1}},
      {"--port ttyS1 load-profile 5", "load-profile", {0, 5}},
      {"--port ttyS1 save-profile 2", "save-profile", {0, 2}},
      {"--port ttyS1 save-profile 5", "save-profile", {0, 5}},
      {"--port ttyS1 loop-connect rdl-es", "loop-connect", {0, 1}, "RDL-ES"},
      {"--port ttyS1 --remote loop-connect Ll", "loop-connect", {0, 10}, "LL", true},
      {"--port ttyS1 loop-disconnect AL", "loop-disconnect", {0, 7}, "AL"},
      {"--port ttyS1 loop-stats dl", "loop-stats", {}, "DL"},  // the page code waits for the level
      {"--port ttyS1 reset-stats --fast-timeouts", "reset-stats", {}}};
  for (const auto& c : cases) {
    const ParsedArguments parsed = Parse(c.line);
    ASSERT_EQ(parsed.kind, ParsedArguments::Kind::Run) << c.line << ": " << parsed.error.toStdString();
    const CliOptions& o = parsed.options;
    ASSERT_NE(o.command, nullptr) << c.line;
    EXPECT_EQ(std::tuple(o.command->name, o.port, o.requestData, o.remote, o.test ? o.test->name : "none"),
              std::tuple(c.command, QStringLiteral("ttyS1"), c.data, c.remote, c.test))
        << c.line;
  }
}

TEST(ParseArguments, CheckImageLevelOrPortHelpWinsOverEverything) {
  // Without --level the level is left to the modem.
  using Level = std::optional<std::int32_t>;
  for (const auto& [line, port, level] : {std::tuple("check-image fw.vrk --level 12", "", Level(12)),
                                          std::tuple("--port ttyS1 check-image fw.vrk", "ttyS1", Level())}) {
    const ParsedArguments parsed = Parse(line);
    ASSERT_EQ(parsed.kind, ParsedArguments::Kind::Run) << parsed.error.toStdString();
    EXPECT_EQ(std::tuple(parsed.options.imageFile, parsed.options.port, parsed.options.level),
              std::tuple(QStringLiteral("fw.vrk"), QString(port), level));
  }
  EXPECT_EQ(Parse("frobnicate --help").kind, ParsedArguments::Kind::Help);
  EXPECT_EQ(Parse("-h").kind, ParsedArguments::Kind::Help);
}

TEST(ParseArguments, BadCommandLineRefusedWithItsReason) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "no command given"}, {"--port ttyS1", "no command given"}, {"identify", "identify needs --port NAME"},
      {"--port ttyS1 IDENTIFY", "unknown command \"IDENTIFY\""},
      {"--port ttyS1 --verbose identify", "unknown option --verbose"},
      {"identify --port", "--port needs a value"}, {"--port= identify", "--port needs a port name"},
      {"--port ttyS1 identify now", "unexpected argument \"now\" after identify"},
      {"--port ttyS1 exit-setup", "missing argument: exit-setup PAYLOAD"},
      {"--port ttyS1 exit-setup 0001020G", "PAYLOAD must be exactly 4 bytes as hex, not \"0001020G\""},
      {"--port ttyS1 set-mode 000102030405060708090A0B0C0D0E0F101112131415161718",
       "HEX must be exactly 26 bytes as hex, not \"000102030405060708090A0B0C0D0E0F101112131415161718\""},
      {"--port ttyS1 load-profile 0", "profile number must be 1 to 5, not \"0\""},
      {"--port ttyS1 load-profile 6", "profile number must be 1 to 5, not \"6\""},
      {"--port ttyS1 load-profile two", "profile number must be 1 to 5, not \"two\""},
      {"--port ttyS1 save-profile 1", "profile number must be 2 to 5, not \"1\""},
      {"--port ttyS1 loop-connect XL", "unknown test \"XL\"; tests: RDL-ES, AL-ES, ES, RDL, AL, DL, LL"},
      {"--port ttyS1 --remote loop-connect es", "test ES runs on the local modem only"},
      {"--port ttyS1 --remote update fw.vrk", "update works on the local modem only; --remote is refused"},
      {"check-image fw.vrk --level high", "--level needs a number, not \"high\""},
      {"check-image fw.vrk", "check-image needs --level N or --port NAME"},
      {"check-image --level 3", "missing argument: check-image FILE [--level N]"},
      {"update fw.vrk", "update needs --port NAME"},
      {"--port ttyS1 --level 1 stats", "--level belongs to check-image"},
      {"--port ttyS1 loop-test es --interval -5", "--interval needs a number from 0 to 86400000, not \"-5\""},
      {"--port ttyS1 --polls 2 loop-connect es", "--polls and --interval belong to loop-test"}};
  for (const auto& [line, error] : cases) {
    const ParsedArguments parsed = Parse(line);
    EXPECT_EQ(parsed.kind, ParsedArguments::Kind::Usage) << line;
    EXPECT_EQ(parsed.error.toStdString(), error) << line;
  }
  // Test names are matched whole, in any case (the codes and pages are the window's loop tests).
  for (const char* name : {"RDL ES", "RDLES", "E", "LLL", ""}) EXPECT_EQ(FindTestKind(QString(name)), nullptr) << name;
}

TEST(HexBytes, ParseExactlyTheBytesAskedPrintUpperCasePairs) {
  using Bytes = std::optional<std::vector<std::uint8_t>>;
  const std::tuple<const char*, std::size_t, Bytes> cases[] = {
      {"00ff7A", 3, Bytes{{0x00, 0xFF, 0x7A}}}, {"00 ff 7A", 3, Bytes{{0x00, 0xFF, 0x7A}}},
      {"00:FF:7a", 3, Bytes{{0x00, 0xFF, 0x7A}}},
      {"0 0ff7A", 3, std::nullopt},  // a separator inside a byte
      {"00ff7A", 2, std::nullopt},   // one byte too many
      {"00ff", 3, std::nullopt},     // one too few
      {"0x0102", 3, std::nullopt},   // no prefixes
      {"", 1, std::nullopt}};
  for (const auto& [text, count, bytes] : cases) EXPECT_EQ(ParseHexBytes(text, count), bytes) << text;
  EXPECT_EQ(HexBytes(std::vector<std::uint8_t>{0x02, 0xAB, 0x00, 0x0F}), QStringLiteral("02 AB 00 0F"));
  EXPECT_EQ(HexBytes({}), QString());
}

TEST(ExitStatus, ResultsFollowDoneFailedStopped) {
  constexpr int D = kExitDone, F = kExitFailed, S = kExitStopped;
  const std::tuple<int, int, int> cases[] = {  // command, result, exit status
      // identify: either framing counts as done
      {2, 1, D}, {2, 2, D}, {2, 3, F}, {2, 4, S}, {2, 17, S},
      // result 5 is done only for the loader transfer that writes it
      {5, 5, D}, {6, 6, D}, {6, 5, F}, {5, 7, F}, {6, 8, F}, {5, 9, S},
      // both reset forms share failed 12 and stopped 13
      {10, 10, D}, {10, 12, F}, {10, 13, S}, {11, 11, D}, {11, 13, S}, {14, 14, D}, {14, 15, F}, {14, 16, S},
      // a refusal is a failure, not a stop
      {18, 18, D}, {18, 19, F}, {18, 21, S}, {25, 25, D}, {25, 26, F}, {25, 27, S}, {37, 39, S},
      // connect loop: 41 is its stop, 42..45 its failures
      {40, 40, D}, {40, 41, S}, {40, 42, F}, {40, 43, F}, {40, 44, F}, {40, 45, F}, {46, 47, S}, {46, 48, F},
      // a worker that never ran leaves 0
      {53, 55, S}, {28, 0, F}};
  for (const auto& [command, result, status] : cases)
    EXPECT_EQ(ExitStatusOf(OutcomeOf(std::uint8_t(command), std::uint8_t(result))), status)
        << "command " << command << " result " << result;
}

}  // namespace
}  // namespace rkvt::cli
