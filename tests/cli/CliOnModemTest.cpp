// The built program against the emulated modem: what it puts on the line,
// what it prints and how it exits.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <csignal>
#include <grp.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "link/QtSerialPort.h"
#include "sim/Presets.h"
#include "sim/Pty.h"

#include "CliProcess.h"

namespace rkvt::test {
namespace {

using namespace std::chrono_literals;
using sim::Fault;
using sim::Identity;
using sim::ReplyKind;

const Identity kGen1{.type = 1, .version = 0x21, .third = '5'};  // level 5
const Identity kGen2{.type = 6, .version = 0x31, .third = '5'};  // level 12
const Identity kLoader{.type = 5, .version = 0x31, .third = '5', .loader = true};

// The protocol's output lines (not the window's words), a reply line shortened to its byte count,
// then the error lines marked "! ".
std::string Shape(const CliRun& run) {
  QStringList lines;
  for (QString line : run.OutLines()) {
    if (line.startsWith("reply: ")) line = QString("reply: %1 bytes").arg(line.mid(7).split(' ').size());
    if (line.startsWith("result ") || line.startsWith("reply: ") || line.startsWith("level ") ||
        line.startsWith("refusal: ") || line.startsWith("poll "))
      lines << line;
  }
  for (const QString& line : run.err.split('\n', Qt::SkipEmptyParts)) lines << "! " + line;
  return lines.join("\n").toStdString();
}

TEST(CliIdentify, ReplyPrintedSilentModemExitsOneMissingPortExitsTwo) {
  CliOnPty bench(sim::ModemModel{kGen2});
  EXPECT_TRUE(bench.Run({"identify"}).out.contains("\nreply: 02 00 06 31 35 "));
  bench.modem.AddFault({.fault = Fault::NoReply});
  const CliRun silent = bench.Run({"identify"});
  EXPECT_EQ(silent.exitCode, 1);
  EXPECT_EQ(silent.OutLines().value(0), QStringLiteral("result 3: identify failed"));
  EXPECT_EQ(silent.err, QStringLiteral("identify failed: no acknowledgement after 3 attempts\n"));

  const CliRun missing = RunCli({"--port", "/nonexistent/ttyRKVT", "identify"});
  ASSERT_TRUE(missing.finished);
  EXPECT_EQ(missing.exitCode, 2);
  // The port text, then the reason on the error line; the ports listed are this machine's.
  EXPECT_TRUE(missing.err.startsWith(
      " Can't open COM-port!\n/nonexistent/ttyRKVT: no such port (the system answered \"No such file or directory\")."))
      << missing.err.toStdString();
  EXPECT_EQ(missing.OutLines().value(0), QStringLiteral("result 17: serial port error"));
}

// A second program on the port: the error line names the process that holds it.
TEST(CliIdentify, BusyPortNamesTheHoldingProcess) {
  sim::Pty pty;
  const QString path = QString::fromStdString(pty.SlavePath());
  QtSerialPort holder(PortSettings{.name = path});
  holder.Open();
  const CliRun busy = RunCli({"--port", path, "identify"});
  EXPECT_EQ(busy.exitCode, 2);
  EXPECT_TRUE(busy.err.startsWith(" Can't open COM-port!\n" + path + ": busy (") &&
              busy.err.contains(QStringLiteral("Process %1 (test_cli) holds it (lock file ").arg(getpid())) &&
              busy.err.endsWith("): close that program and try again.\n"))
      << busy.err.toStdString();
}

// A user who may not open the port learns which group to join: as root the
// program runs as nobody, on a pty of group root and then of group dialout.
TEST(CliIdentify, PermissionDeniedSaysWhichGroupToJoin) {
  if (geteuid() != 0 || !QFileInfo::exists("/usr/bin/setpriv")) GTEST_SKIP() << "needs root and setpriv";
  sim::Pty pty;
  const std::string path = pty.SlavePath();
  const QString denied = QString::fromStdString(path) + ": permission denied (the system answered \"Permission denied\").";
  std::vector<std::tuple<gid_t, mode_t, QString>> cases{
      {0, 0600, " The device belongs to group root, which may not read and write it: ask the administrator to give "
                "it to group dialout (a udev rule), join that group (sudo usermod -aG dialout $USER), then log out "
                "and in again."}};
  if (const group* dialout = getgrnam("dialout"))
    cases.emplace_back(dialout->gr_gid, 0660, " The device belongs to group dialout: add your user to it (sudo "
                                              "usermod -aG dialout $USER), then log out and in again.");
  for (const auto& [gid, mode, advice] : cases) {
    ASSERT_EQ(chown(path.c_str(), 0, gid) | chmod(path.c_str(), mode), 0);
    const CliRun run = RunProgram("/usr/bin/setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                                       RKVT_CLI_PATH, "--port", QString::fromStdString(path), "identify"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, " Can't open COM-port!\n" + denied + advice + "\n");
  }
}

// One command line: the exact frames on the line, the output (reply lines as "reply: N bytes") and the exit status.
struct RoadCase { const char* name; QStringList arguments; std::vector<Frame> frames; QStringList out; int exitCode = 0;
                  Identity identity = kGen2; std::function<void(sim::ModemEmulator&)> setup = {}; };

void PrintTo(const RoadCase& c, std::ostream* os) { *os << c.name; }

class CliRoad : public ::testing::TestWithParam<RoadCase> {};

TEST_P(CliRoad, FramesOutputAndExitStatus) {
  const RoadCase& c = GetParam();
  CliOnPty bench(sim::ModemModel{c.identity});
  bench.modem.Configure([](sim::ModemModel& m) { m.RemoteIdentity() = kGen1; });
  if (c.setup) c.setup(bench.modem);
  const CliRun run = bench.Run(c.arguments);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
  EXPECT_EQ(Shape(run), c.out.join("\n").toStdString());
  const auto journal = bench.SettledJournal();
  ASSERT_EQ(journal.size(), c.frames.size());
  for (std::size_t i = 0; i < journal.size(); ++i) {
    EXPECT_EQ(journal[i].frame, c.frames[i]) << "frame " << i;
    EXPECT_EQ(journal[i].framing, c.identity.loader ? sim::Framing::Loader : sim::Framing::Working) << i;
  }
}

const QString kReply28 = "reply: 28 bytes", kReply84 = "reply: 84 bytes";
const QString kLevel12 = "level 12";

// Identification of the target, then its first page and pages 2 and 3.
std::vector<Frame> Stats(std::uint8_t target, std::uint8_t firstPage) {
  const std::uint8_t t = target | 2;
  return {Req(target | 1, 3), Req(t, 3, {0, firstPage}), Req(t, 3, {0, 2}), Req(t, 3, {0, 3})};
}

const QString kEsPoll =
    "poll %1: State Normal; Line quality A; BitRate Line 256000; Rd time 0:00:00; NRd time 0:00:00; "
    "ES time 0:00:00; SES time 0:00:00";

INSTANTIATE_TEST_SUITE_P(
    Commands, CliRoad,
    ::testing::Values(
        RoadCase{"Identify", {"identify"}, {Req(0xD1, 3)},
                 {"result 2: identified: the modem runs its working firmware", kReply28, kLevel12}},
        RoadCase{"IdentifyRemoteThroughTheLocalModem", {"--remote", "identify"}, {Req(0xC1, 3)},
                 {R(2), kReply28, "level 5"}},
        // Statistics: identification first, then the pages of the modem's generation.
        RoadCase{"StatsLevel5", {"stats"}, Stats(0xD0, 1), {R(2), kReply28, "level 5", R(25), kReply84}, 0, kGen1},
        RoadCase{"StatsLevel7", {"stats"}, Stats(0xD0, 7), {R(2), kReply28, "level 7", R(25), kReply84}, 0,
                 {.type = 1, .version = 0x22, .third = '5'}},
        RoadCase{"StatsLevel12", {"stats"}, Stats(0xD0, 7), {R(2), kReply28, kLevel12, R(25), kReply84}},
        RoadCase{"RemoteStatsIdentifyTheRemoteModem", {"--remote", "stats"}, Stats(0xC0, 1),
                 {R(2), kReply28, "level 5", R(25), kReply84}},
        RoadCase{"StatsRefusedForLoader", {"stats"}, {Req(0xD1, 3)},
                 {R(1), kReply28, "level 22", "! the modem runs its loader; stats needs its working firmware"}, 1,
                 kLoader},
        // Single commands: one exact frame.
        RoadCase{"ResetStats", {"reset-stats"}, {Req(0xD2, 4)}, {R(28), kReply28}},
        RoadCase{"EnterSetup", {"enter-setup"}, {Req(0xD2, 1)}, {R(18), kReply28}},
        RoadCase{"ExitSetup", {"exit-setup", "0a0B0c0D"}, {Req(0xD2, 24, {10, 11, 12, 13})}, {R(22), kReply28}},
        RoadCase{"SetMode", {"set-mode", "A0A1A2A3A4A5A6A7A8A9AAABACADAEAFB0B1B2B3B4B5B6B7B8B9"},
                 {Req(0xD2, 20, {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC,
                                 0xAD, 0xAE, 0xAF, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9})},
                 {R(31), kReply28}},
        RoadCase{"LoadProfile", {"load-profile", "3"}, {Req(0xD2, 22, {0, 3})}, {R(34), kReply28}},
        RoadCase{"SaveProfile", {"save-profile", "5"}, {Req(0xD2, 21, {0, 5})}, {R(37), kReply28}},
        RoadCase{"ConnectRdl", {"loop-connect", "rdl"}, {Req(0xD2, 2, {0, 2})}, {R(40), kReply28}},
        RoadCase{"DisconnectLl", {"loop-disconnect", "LL"}, {Req(0xD2, 18, {0, 10})}, {R(46), kReply28}},
        RoadCase{"ResetLoopStats", {"loop-reset-stats"}, {Req(0xD2, 17)}, {R(53), kReply28}},
        RoadCase{"EnterSetupRefusedWithDetail", {"enter-setup"}, {Req(0xD2, 1)},
                 {R(19), kReply28, "refusal: A8 40 01 02 03 04"}, 1, kGen2,
                 [](sim::ModemEmulator& m) {
                   m.Configure([](sim::ModemModel& mm) { mm.Local().config.setupHeld = true; });
                   m.Configure([](sim::ModemModel& mm) { mm.Local().config.holder = {0xA8, 0x40, 1, 2, 3, 4}; });
                 }},
        // Loop statistics: the page of test and identified level.
        RoadCase{"LoopStatsEsLevel12", {"loop-stats", "es"}, {Req(0xD1, 3), Req(0xD2, 19, {0, 9})},
                 {R(2), kReply28, kLevel12, R(50), kReply28}},
        RoadCase{"LoopStatsDlLevel5", {"loop-stats", "DL"}, {Req(0xD1, 3), Req(0xD2, 19, {0, 4})},
                 {R(2), kReply28, "level 5", R(50), kReply28}, 0, kGen1},
        // Loop test: connect, one line per read (a failed one does not end the test), disconnect.
        RoadCase{"LoopTestEsLevel12", {"loop-test", "es", "--polls", "3", "--interval", "0"},
                 {Req(0xD1, 3), Req(0xD2, 2, {0, 6}), Req(0xD2, 19, {0, 9}), Req(0xD2, 19, {0, 9}),
                  Req(0xD2, 19, {0, 9}), Req(0xD2, 18, {0, 6})},
                 {R(2), kReply28, kLevel12, R(40), kReply28, kEsPoll.arg(1), "poll 2: " + R(51), kEsPoll.arg(3),
                  R(46), kReply28},
                 0, kGen2,
                 [](sim::ModemEmulator& m) {
                   m.Configure([](sim::ModemModel& mm) { mm.Clock().Freeze(); });
                   m.AddFault({.fault = Fault::WrongRepeat, .code = 19, .frameNumber = 4, .reply = ReplyKind::Answer});
                 }},
        // Reset: both working steps, no second after a failed first, the loader's own reset.
        RoadCase{"ResetWorking", {"reset"}, {Req(0xD1, 3), Req(0xD1, 2), Req(0xD1, 4)},
                 {R(2), kReply28, kLevel12, R(11), kReply28, R(14), kReply28}},
        RoadCase{"ResetFirstStepFails", {"reset"}, {Req(0xD1, 3), Req(0xD1, 2)},
                 {R(2), kReply28, kLevel12, R(12), kReply28, "! reset failed: answer with response code 0x03, not 0x02"},
                 1, kGen2,
                 [](sim::ModemEmulator& m) {
                   m.AddFault({.fault = Fault::WrongResponse, .code = 2, .reply = ReplyKind::Answer});
                 }},
        RoadCase{"ResetLoader", {"reset"}, {Req(0xD1, 3), Req(0xD1, 2)},
                 {R(1), kReply28, "level 22", R(10), kReply28}, 0, kLoader}),
    [](const auto& info) { return std::string(info.param.name); });

// Below the result and reply lines, the main window's words for the reply, from its own decoders:
// the State group's fields of the interface, the four times, the faults and the interface's lamps.
TEST(CliWindowTexts, IdentifyAndStatsPrintWhatTheWindowShows) {
  const auto words = [](const CliRun& run) {
    QStringList lines;
    for (QString line : run.OutLines()) {
      if (line.startsWith("result ") || line.startsWith("reply: ") || line.startsWith("level ")) continue;
      // The modem's clock has run for a second or not.
      static const QRegularExpression time("^((Full|Curr\\.|NoLine|Errors) time): \\d+:\\d\\d:\\d\\d$");
      lines << line.replace(time, "\\1: T");
    }
    return lines;
  };
  const QStringList times{"Full time: T", "Curr. time: T", "NoLine time: T", "Errors time: T"};
  const QStringList port2{"Port 2 DTR: on", "Port 2 DSR: on", "Port 2 RTS: on", "Port 2 CTS: on", "Port 2 DCD: on"};
  CliOnPty gen1(sim::ModemModel{kGen1});
  EXPECT_EQ(words(gen1.Run({"stats"})),
            QStringList({"Modem: Vorak R-KVT-MS", "Version: 2.15", "State: Normal", "Interface: P2 Sync",
                         "Cable: DCE V.35", "Line quality: A", "BitRate Line: 256000", "BitRate P2: 256000"}) +
                times + QStringList{"Faults: 0x0000"} + port2);

  CliOnPty e1(sim::ModelFor(*sim::FindPreset("gen2-e1")));
  // No cable and port bit rate for E1, as in the window; "identify" alone stops after the version.
  const QStringList e1Words = words(e1.Run({"stats"}));
  EXPECT_EQ(e1Words.mid(0, 6), QStringList({"Modem: Vorak R-KVT-MS-2", "Version: 3.15 - KAP", "State: Normal",
                                            "Interface: E1", "Line quality: A", "BitRate Line: 256000"}));
  EXPECT_EQ(e1Words.mid(11).join(", "), "E1 LOF: off, E1 LOS: off, E1 RA: off, E1 AI: off, E1 LOT: off, E1 E: off, "
                                        "E1 CRC: off, E1 CV: off");
  EXPECT_EQ(words(e1.Run({"identify"})), e1Words.mid(0, 2));
  // Other roads identify only for the level: no window words there.
  EXPECT_EQ(words(e1.Run({"loop-stats", "es"})), QStringList());
}

TEST(CliUsage, ErrorsExitSixtyFourWithoutTouchingTheLineHelpDocumentsCommands) {
  CliOnPty bench(sim::ModemModel{kGen2});
  const std::pair<QStringList, QString> cases[] = {
      {{"frobnicate"}, "r-kvt-ms-cli: unknown command \"frobnicate\"\n"},
      {{"--remote", "reset"}, "r-kvt-ms-cli: reset works on the local modem only; --remote is refused\n"}};
  for (const auto& [arguments, firstLine] : cases) {
    const CliRun run = bench.Run(arguments);
    EXPECT_EQ(run.exitCode, 64);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(run.err.startsWith(firstLine)) << run.err.toStdString();
  }
  EXPECT_EQ(bench.SettledJournal().size(), 0u);

  const CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.err.isEmpty());
  for (const char* text : {"usage: r-kvt-ms-cli --port NAME [--remote] COMMAND [ARGS]", "loop-stats TEST",
                           "check-image FILE [--level N]", "--fast-timeouts  for tests", "RDL-ES AL-ES ES RDL AL DL LL",
                           "64  usage", "Ctrl-C"})
    EXPECT_TRUE(help.out.contains(QString::fromLatin1(text))) << text;
}

#ifdef Q_OS_UNIX
TEST(CliInterrupt, CtrlCDuringTheAnswerWaitStopsWithExitTwo) {
  CliOnPty bench(sim::ModemModel{kGen2});
  bench.modem.AddFault({.fault = Fault::NoReply, .reply = ReplyKind::Answer});
  // Real time-outs: without the stop the answer wait would last 181 s.
  const CliRun run = RunCli(
      {"--port", QString::fromStdString(bench.modem.PortPath()), "--trace", "identify"},
      [&](QProcess& process) {
        // Once the acknowledgement is read, so that the stop falls into the answer wait.
        QByteArray trace;
        process.setReadChannel(QProcess::StandardError);
        while (!trace.contains("echo ok") && process.waitForReadyRead(10000)) trace += process.readAllStandardError();
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
      },
      20000);
  ASSERT_TRUE(run.finished) << "the stop did not end the answer wait";
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.OutLines().value(0), R(4));
  EXPECT_EQ(bench.SettledJournal().size(), 1u) << "stopped before the loader query";
}

// Ctrl-C while the connect waits for its answer (the modem has switched the
// loop on) or between two reads: the disconnect with the same test code still goes out.
TEST(CliInterrupt, CtrlCDuringALoopConnectOrTestSendsTheDisconnect) {
  const std::tuple<QStringList, std::size_t, std::vector<Frame>> cases[] = {
      {{"loop-connect", "rdl-es"}, 1, {Req(0xD2, 2, {0, 1}), Req(0xD2, 18, {0, 1})}},
      {{"loop-test", "ll", "--interval", "60000"}, 3,
       {Req(0xD1, 3), Req(0xD2, 2, {0, 10}), Req(0xD2, 19, {0, 7}), Req(0xD2, 18, {0, 10})}}};
  for (const auto& [arguments, interruptAfter, frames] : cases) {
    CliOnPty bench(sim::ModemModel{kGen2});
    if (interruptAfter == 1) bench.modem.AddFault({.fault = Fault::NoReply, .code = 2, .reply = ReplyKind::Answer});
    const CliRun run = RunCli(QStringList{"--port", QString::fromStdString(bench.modem.PortPath())} + arguments,
                              [&](QProcess& process) {
                                ASSERT_TRUE(bench.modem.WaitForFrames(interruptAfter, 10s));
                                std::this_thread::sleep_for(100ms);  // into the answer wait or the pause
                                ::kill(static_cast<pid_t>(process.processId()), SIGINT);
                              });
    EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
    EXPECT_EQ(run.OutLines().filter(QRegularExpression("^result 4")),
              QStringList({interruptAfter == 1 ? R(41) : R(40), R(46)}));
    EXPECT_EQ(bench.Sent(), frames);
  }
}
#endif

}  // namespace
}  // namespace rkvt::test
