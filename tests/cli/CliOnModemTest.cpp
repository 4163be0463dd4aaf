// The built program against the emulated modem: what it puts on the line,
// what it prints and how it exits.
#include <gtest/gtest.h>

#include <csignal>

#include "CliProcess.h"
#include "Frame.h"
#include "ResultCodes.h"

namespace rkvt::test {
namespace {

using namespace std::chrono_literals;
using sim::Fault;
using sim::Identity;
using sim::ReplyKind;

const Identity kGen2{.type = 6, .version = 0x31, .third = '5'};  // level 12

QString ResultLine(std::uint8_t result) {
  const std::string_view meaning = ResultMeaning(result);
  return QStringLiteral("result %1: %2").arg(result).arg(QLatin1String(meaning.data(), meaning.size()));
}

// The hex bytes of a "reply: ..." line.
QStringList ReplyBytes(const QString& line) {
  EXPECT_TRUE(line.startsWith(QStringLiteral("reply: "))) << line.toStdString();
  return line.mid(7).split(' ');
}

Frame Request(std::uint8_t address, std::uint8_t code, std::vector<std::uint8_t> data = {}) {
  return BuildRequest(address, code, data);
}

TEST(CliIdentify, LocalModemAnswersInWorkingFraming) {
  CliOnPty bench(sim::ModemModel{kGen2});
  const CliRun run = bench.Run({"identify"});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
  EXPECT_EQ(lines[0], QStringLiteral("result 2: identified: the modem runs its working firmware"));
  const QStringList reply = ReplyBytes(lines[1]);
  ASSERT_EQ(reply.size(), 28);
  EXPECT_EQ(reply.mid(0, 5).join(' '), QStringLiteral("02 00 06 31 35"));
  EXPECT_EQ(lines[2], QStringLiteral("level 12"));
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

  const auto journal = bench.SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].frame, Request(0xD1, 3));
}

TEST(CliIdentify, RemoteModemIsAddressedThroughTheLocalOne) {
  CliOnPty bench(sim::ModemModel{kGen2});
  bench.modem.Configure([](sim::ModemModel& m) { m.RemoteIdentity() = Identity{.type = 1, .version = 0x22, .third = '5'}; });
  const CliRun run = bench.Run({"--remote", "identify"});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  ASSERT_EQ(run.OutLines().size(), 3);
  EXPECT_EQ(run.OutLines()[2], QStringLiteral("level 7"));
  const auto journal = bench.SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].frame, Request(0xC1, 3));
}

TEST(CliIdentify, SilentModemFailsWithExitOne) {
  CliOnPty bench(sim::ModemModel{kGen2});
  bench.modem.AddFault({.fault = Fault::NoReply});
  const CliRun run = bench.Run({"identify"});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 1);
  ASSERT_FALSE(run.OutLines().isEmpty());
  EXPECT_EQ(run.OutLines()[0], QStringLiteral("result 3: identify failed"));
}

TEST(CliPort, MissingPortEndsWithExitTwoAndThePortMessage) {
  const CliRun run = RunCli({"--port", "/nonexistent/ttyRKVT", "identify"});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, QStringLiteral(" Can't open COM-port!\n"));
  ASSERT_FALSE(run.OutLines().isEmpty());
  EXPECT_EQ(run.OutLines()[0], QStringLiteral("result 17: serial port error"));
}

struct StatsCase {
  const char* name;
  Identity identity;
  int level;
  std::uint8_t firstPage;
};

void PrintTo(const StatsCase& c, std::ostream* os) { *os << c.name; }

class CliStats : public ::testing::TestWithParam<StatsCase> {};

TEST_P(CliStats, IdentifiesThenAsksThePagesOfItsGeneration) {
  const StatsCase& c = GetParam();
  CliOnPty bench(sim::ModemModel{c.identity});
  const CliRun run = bench.Run({"stats"});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 5) << run.out.toStdString();
  EXPECT_EQ(lines[2], QStringLiteral("level %1").arg(c.level));
  EXPECT_EQ(lines[3], ResultLine(25));
  const QStringList reply = ReplyBytes(lines[4]);
  ASSERT_EQ(reply.size(), 84);
  EXPECT_EQ(reply[3].toInt(nullptr, 16), c.firstPage);

  const auto journal = bench.SettledJournal();
  ASSERT_EQ(journal.size(), 4u);
  EXPECT_EQ(journal[0].frame, Request(0xD1, 3));
  EXPECT_EQ(journal[1].frame, Request(0xD2, 3, {0, c.firstPage}));
  EXPECT_EQ(journal[2].frame, Request(0xD2, 3, {0, 2}));
  EXPECT_EQ(journal[3].frame, Request(0xD2, 3, {0, 3}));
}

INSTANTIATE_TEST_SUITE_P(
    Levels, CliStats,
    ::testing::Values(StatsCase{"Firmware215Level5", {.type = 1, .version = 0x21, .third = '5'}, 5, 1},
                      StatsCase{"Firmware225Level7", {.type = 1, .version = 0x22, .third = '5'}, 7, 7},
                      StatsCase{"Firmware315Level12", kGen2, 12, 7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliStats, RemoteStatisticsIdentifyTheRemoteModem) {
  CliOnPty bench(sim::ModemModel{kGen2});
  bench.modem.Configure([](sim::ModemModel& m) { m.RemoteIdentity() = Identity{.type = 1, .version = 0x21, .third = '5'}; });
  const CliRun run = bench.Run({"--remote", "stats"});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const auto journal = bench.SettledJournal();
  ASSERT_EQ(journal.size(), 4u);
  EXPECT_EQ(journal[0].frame, Request(0xC1, 3));
  EXPECT_EQ(journal[1].frame, Request(0xC2, 3, {0, 1}));
}

TEST(CliStats, ModemInItsLoaderIsRefusedAfterTheIdentification) {
  CliOnPty bench(sim::ModemModel{Identity{.type = 5, .version = 0x31, .third = '5', .loader = true}});
  const CliRun run = bench.Run({"stats"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, QStringLiteral("the modem runs its loader; stats needs its working firmware\n"));
  ASSERT_FALSE(run.OutLines().isEmpty());
  EXPECT_EQ(run.OutLines()[0], ResultLine(1));
  for (const auto& entry : bench.SettledJournal()) EXPECT_EQ(entry.frame[2], 3) << "only identification frames";
}

struct SingleCase {
  const char* name;
  QStringList arguments;
  Frame frame;
  std::uint8_t result;
};

void PrintTo(const SingleCase& c, std::ostream* os) { *os << c.name; }

class CliSingleCommand : public ::testing::TestWithParam<SingleCase> {};

TEST_P(CliSingleCommand, SendsOneExactFrameAndPrintsTheResult) {
  const SingleCase& c = GetParam();
  CliOnPty bench(sim::ModemModel{kGen2});
  const CliRun run = bench.Run(c.arguments);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
  EXPECT_EQ(lines[0], ResultLine(c.result));
  EXPECT_EQ(ReplyBytes(lines[1]).size(), 28);
  const auto journal = bench.SettledJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].frame, c.frame);
}

std::vector<std::uint8_t> Counting(std::size_t count) {
  std::vector<std::uint8_t> v(count);
  for (std::size_t i = 0; i < count; ++i) v[i] = static_cast<std::uint8_t>(0xA0 + i);
  return v;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliSingleCommand,
    ::testing::Values(
        SingleCase{"ResetStats", {"reset-stats"}, Request(0xD2, 4), 28},
        SingleCase{"EnterSetup", {"enter-setup"}, Request(0xD2, 1), 18},
        SingleCase{"ExitSetup", {"exit-setup", "0a0B0c0D"}, Request(0xD2, 24, {0x0A, 0x0B, 0x0C, 0x0D}), 22},
        SingleCase{"SetMode",
                   {"set-mode", "A0A1A2A3A4A5A6A7A8A9AAABACADAEAFB0B1B2B3B4B5B6B7B8B9"},
                   Request(0xD2, 20, Counting(26)),
                   31},
        SingleCase{"LoadProfile", {"load-profile", "3"}, Request(0xD2, 22, {0, 3}), 34},
        SingleCase{"SaveProfile", {"save-profile", "5"}, Request(0xD2, 21, {0, 5}), 37},
        SingleCase{"ConnectRdl", {"loop-connect", "rdl"}, Request(0xD2, 2, {0, 2}), 40},
        SingleCase{"ConnectAlEs", {"loop-connect", "AL-ES"}, Request(0xD2, 2, {0, 4}), 40},
        SingleCase{"DisconnectLl", {"loop-disconnect", "LL"}, Request(0xD2, 18, {0, 10}), 46},
        SingleCase{"ResetLoopStats", {"loop-reset-stats"}, Request(0xD2, 17), 53}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliEnterSetup, RefusalPrintsTheDetailAndExitsOne) {
  CliOnPty bench(sim::ModemModel{kGen2});
  bench.modem.Configure([](sim::ModemModel& m) {
    m.Local().config.setupHeld = true;
    m.Local().config.holder = {0xA8, 0x40, 0x01, 0x02, 0x03, 0x04};
  });
  const CliRun run = bench.Run({"enter-setup"});
  EXPECT_EQ(run.exitCode, 1);
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
  EXPECT_EQ(lines[0], ResultLine(19));
  EXPECT_EQ(lines[2], QStringLiteral("refusal: A8 40 01 02 03 04"));
}

struct LoopPageCase {
  const char* name;
  const char* test;
  Identity identity;
  std::uint8_t page;
};

void PrintTo(const LoopPageCase& c, std::ostream* os) { *os << c.name; }

class CliLoopStats : public ::testing::TestWithParam<LoopPageCase> {};

TEST_P(CliLoopStats, AsksTheLoopPageOfTestAndLevel) {
  const LoopPageCase& c = GetParam();
  CliOnPty bench(sim::ModemModel{c.identity});
  const CliRun run = bench.Run({"loop-stats", c.test});
  EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
  const auto journal = bench.SettledJournal();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0].frame, Request(0xD1, 3));
  EXPECT_EQ(journal[1].frame, Request(0xD2, 19, {0, c.page}));
  ASSERT_EQ(run.OutLines().size(), 5);
  EXPECT_EQ(run.OutLines()[3], ResultLine(50));
}

const Identity kGen1{.type = 1, .version = 0x21, .third = '5'};  // level 5

INSTANTIATE_TEST_SUITE_P(Pages, CliLoopStats,
                         ::testing::Values(LoopPageCase{"EsLevel12", "es", kGen2, 9},
                                           LoopPageCase{"RdlEsLevel5", "RDL-ES", kGen1, 5},
                                           LoopPageCase{"DlLevel12", "dl", kGen2, 8},
                                           LoopPageCase{"DlLevel5", "DL", kGen1, 4},
                                           LoopPageCase{"AlLevel5", "al", kGen1, 6},
                                           LoopPageCase{"LlLevel12", "LL", kGen2, 7},
                                           LoopPageCase{"RdlLevel7", "rdl", {.type = 1, .version = 0x22, .third = '5'}, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliReset, WorkingFirmwareGetsBothResetSteps) {
  CliOnPty bench(sim::ModemModel{kGen2});
  const CliRun run = bench.Run({"reset"});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 7) << run.out.toStdString();
  EXPECT_EQ(lines[3], ResultLine(11));
  EXPECT_EQ(lines[5], ResultLine(14));
  const auto journal = bench.SettledJournal();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_EQ(journal[1].frame, Request(0xD1, 2));
  EXPECT_EQ(journal[2].frame, Request(0xD1, 4));
}

TEST(CliReset, FailedFirstStepSendsNoSecondStep) {
  CliOnPty bench(sim::ModemModel{kGen2});
  bench.modem.AddFault({.fault = Fault::WrongResponse, .code = 2, .reply = ReplyKind::Answer});
  const CliRun run = bench.Run({"reset"});
  EXPECT_EQ(run.exitCode, 1);
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 5) << run.out.toStdString();
  EXPECT_EQ(lines[3], ResultLine(12));
  for (const auto& entry : bench.SettledJournal()) EXPECT_NE(entry.frame[2], 4) << "no second step";
}

TEST(CliReset, LoaderIsResetThroughTheLoader) {
  CliOnPty bench(sim::ModemModel{Identity{.type = 5, .version = 0x31, .third = '5', .loader = true}});
  const CliRun run = bench.Run({"reset"});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains(ResultLine(1)));
  EXPECT_TRUE(run.out.contains(ResultLine(10))) << run.out.toStdString();
  const auto journal = bench.SettledJournal();
  ASSERT_FALSE(journal.empty());
  EXPECT_EQ(journal.back().framing, sim::Framing::Loader);
  EXPECT_EQ(journal.back().frame[2], 2);
}

struct UsageCase {
  const char* name;
  QStringList arguments;
  const char* firstErrorLine;
};

void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

class CliUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsage, ExitsSixtyFourWithoutTouchingTheLine) {
  CliOnPty bench(sim::ModemModel{kGen2});
  const CliRun run = bench.Run(GetParam().arguments);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 64);
  EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
  EXPECT_EQ(run.err.split('\n').value(0), QString::fromLatin1(GetParam().firstErrorLine));
  EXPECT_EQ(bench.SettledJournal().size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Refused, CliUsage,
    ::testing::Values(UsageCase{"UnknownCommand", {"frobnicate"}, "r-kvt-ms-cli: unknown command \"frobnicate\""},
                      UsageCase{"BadHex", {"exit-setup", "0001020G"},
                                "r-kvt-ms-cli: PAYLOAD must be exactly 4 bytes as hex, not \"0001020G\""},
                      UsageCase{"ProfileSix", {"load-profile", "6"},
                                "r-kvt-ms-cli: profile number must be 1 to 5, not \"6\""},
                      UsageCase{"RemoteReset", {"--remote", "reset"},
                                "r-kvt-ms-cli: reset works on the local modem only; --remote is refused"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliUsage, HelpDocumentsCommandsTestsAndExitStatuses) {
  const CliRun run = RunCli({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.isEmpty());
  for (const char* text : {"usage: r-kvt-ms-cli --port NAME [--remote] COMMAND [ARGS]", "loop-stats TEST",
                           "check-image FILE [--level N]", "--fast-timeouts  for tests", "RDL-ES AL-ES ES RDL AL DL LL",
                           "64  usage", "Ctrl-C"})
    EXPECT_TRUE(run.out.contains(QString::fromLatin1(text))) << text;
}

#ifdef Q_OS_UNIX
TEST(CliInterrupt, CtrlCDuringTheAnswerWaitStopsWithExitTwo) {
  CliOnPty bench(sim::ModemModel{kGen2});
  bench.modem.AddFault({.fault = Fault::NoReply, .reply = ReplyKind::Answer});
  QStringList arguments{"--port", QString::fromStdString(bench.modem.PortPath()), "identify"};
  // Real time-outs: without the stop the answer wait would last 181 s.
  const CliRun run = RunCli(
      arguments,
      [&](QProcess& process) {
        ASSERT_TRUE(bench.modem.WaitForFrames(1, 10s));
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
      },
      20000);
  ASSERT_TRUE(run.finished) << "the stop did not end the answer wait";
  EXPECT_EQ(run.exitCode, 2);
  ASSERT_FALSE(run.OutLines().isEmpty());
  EXPECT_EQ(run.OutLines()[0], ResultLine(4));
  // Stopped before the loader query: the one identify frame is all.
  EXPECT_EQ(bench.SettledJournal().size(), 1u);
}
#endif

}  // namespace
}  // namespace rkvt::test
