#include "cli/CliCommands.h"

#include <algorithm>
#include <array>

#include "link/Commands.h"
#include "link/TestKinds.h"

namespace rkvt::cli {

namespace {

constexpr std::array kCliCommands{
    CliCommand{"identify", command::kIdentify, Argument::None, Road::Identify, false, "identify",
               "read the modem's type and firmware version; prints its software level"},
    CliCommand{"stats", command::kGetStatistics, Argument::None, Road::Levelled, false, "stats",
               "identify, then read the state page and both statistics pages (84 bytes)"},
    CliCommand{"reset-stats", command::kResetStatistics, Argument::None, Road::Single, false, "reset-stats",
               "clear the modem's line statistics"},
    CliCommand{"reset", command::kReset, Argument::None, Road::Reset, true, "reset",
               "reset the local modem (through its loader when it runs the loader)"},
    CliCommand{"enter-setup", command::kEnterSetup, Argument::None, Road::Single, false, "enter-setup",
               "enter setup; the reply carries the 26-byte configuration record from byte 2"},
    CliCommand{"exit-setup", command::kExitSetup, Argument::Payload, Road::Single, false, "exit-setup PAYLOAD",
               "leave setup with 4 payload bytes as hex, e.g. 00010203"},
    CliCommand{"set-mode", command::kSetNewMode, Argument::Record, Road::Single, false, "set-mode HEX",
               "send a new configuration record: exactly 26 bytes as hex"},
    CliCommand{"load-profile", command::kLoadProfile, Argument::LoadProfile, Road::Single, false,
               "load-profile N", "make the modem load profile N (1..5)"},
    CliCommand{"save-profile", command::kSaveProfile, Argument::SaveProfile, Road::Single, false,
               "save-profile N", "make the modem save its mode as profile N (2..5)"},
    CliCommand{"loop-connect", command::kConnectLoop, Argument::TestCode, Road::LoopConnect, false,
               "loop-connect TEST", "switch a loop or bit-error test on"},
    CliCommand{"loop-stats", command::kGetLoopStatistics, Argument::TestPage, Road::Levelled, false,
               "loop-stats TEST", "identify, then read the test's loop page (chosen by the level)"},
    CliCommand{"loop-disconnect", command::kDisconnectLoop, Argument::TestCode, Road::Single, false,
               "loop-disconnect TEST", "switch a loop or bit-error test off"},
    CliCommand{"loop-test", command::kConnectLoop, Argument::TestCode, Road::LoopTest, false,
               "loop-test TEST [--polls N] [--interval MS]",
               "identify, connect, read the test's counters every MS ms (default 1000), one line per read;\n"
               "      disconnect after N reads (default: at Ctrl-C)"},
    CliCommand{"loop-reset-stats", command::kResetLoopStatistics, Argument::None, Road::Single, false,
               "loop-reset-stats", "clear the test counters"},
    CliCommand{"check-image", 0, Argument::ImageFile, Road::CheckImage, false, "check-image FILE [--level N]",
               "check an image file (*.vrk) for software level N, or for the modem on --port"},
    CliCommand{"update", command::kUpdateViaFirmware, Argument::ImageFile, Road::Update, true, "update FILE",
               "identify the local modem, check the image for it, then load it (progress on stderr)"},
};

}  // namespace

std::span<const CliCommand> CliCommands() { return kCliCommands; }

const CliCommand* FindCliCommand(QStringView name) {
  const auto it = std::find_if(kCliCommands.begin(), kCliCommands.end(),
                               [name](const CliCommand& c) { return name == Text(c.name); });
  return it == kCliCommands.end() ? nullptr : &*it;
}

QString UsageText() {
  QString text = QStringLiteral(
      "usage: r-kvt-ms-cli --port NAME [--remote] COMMAND [ARGS]\n"
      "       r-kvt-ms-cli check-image FILE --level N\n"
      "\n"
      "Runs one modem command over the serial port NAME (115200 8N1) and prints the\n"
      "result code, its meaning and the reply bytes in hex on stdout (28 bytes, 84 for\n"
      "stats). Commands that need the modem's software level identify it first and\n"
      "print that identification and the level too. identify and stats then print\n"
      "the main window's words for the reply: modem, version, state, interface,\n"
      "cable, line quality, bit rates, the four times, the faults and the lamps.\n"
      "\n"
      "options:\n"
      "  --port NAME      serial port, e.g. ttyS0, /dev/ttyUSB0 or COM1\n"
      "  --remote         address the remote modem at the other end of the line\n"
      "                   (not for reset and update)\n"
      "  --level N        check-image only: the software level to check against\n"
      "  --polls N        loop-test only: disconnect after N reads of the counters\n"
      "  --interval MS    loop-test only: time between two reads (default 1000)\n"
      "  --trace          print every frame on the line to stderr as it goes: seconds\n"
      "                   since start, direction, framing, the frame in hex and what\n"
      "                   it says (time-out, bad checksum, echo, status, attempt n)\n"
      "  --fast-timeouts  for tests: acknowledgement 150 ms, answer 1500 ms\n"
      "  -h, --help       this text\n"
      "\n"
      "commands:\n");
  for (const CliCommand& c : kCliCommands) {
    text += QStringLiteral("  %1\n      %2\n").arg(Text(c.synopsis), Text(c.summary));
  }
  text += QStringLiteral("\nTEST is one of (any case):");
  for (const TestKind& t : TestKinds()) text += ' ' + Text(t.name);
  text += QStringLiteral(
      "\n"
      "  for the remote modem only RDL-ES, RDL, DL and LL.\n"
      "\n"
      "check-image prints the image check's message, or \"OK\" and the image version.\n"
      "update and check-image print a failed check the same way.\n"
      "\n"
      "exit status:\n"
      "  0   done\n"
      "  1   failed, or refused by the modem or the image check\n"
      "  2   stopped (Ctrl-C) or serial port error; the error line below the port's\n"
      "      message says which port, what the system answered and what to do\n"
      "  64  usage: bad arguments, unknown command, bad hex, profile out of range\n"
      "\n"
      "Ctrl-C asks the running command to stop, as the Stop button would: the frame on\n"
      "the line is finished and the port closed. loop-connect and loop-test then send\n"
      "the disconnect with the same test code and exit 2 once it is done (a second\n"
      "Ctrl-C stops that too); a stopped loop disconnect still tells the modem to end\n"
      "the loop.\n");
  return text;
}

}  // namespace rkvt::cli
