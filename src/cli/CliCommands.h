#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include <QString>
#include <QStringView>

namespace rkvt::cli {

// What follows a command's name on the command line.
enum class Argument {
  None,
  Payload,      // 4 bytes as hex
  Record,       // 26 bytes as hex: a whole configuration record
  LoadProfile,  // 1..5
  SaveProfile,  // 2..5: profile 1 holds the factory setting
  TestCode,     // a test name, sent as its test code
  TestPage,     // a test name, sent as its loop page code (needs the level)
  ImageFile,
};

// How a command runs.
enum class Road {
  Identify,    // one identification, its level printed
  Single,      // one worker run with the request bytes from the command line
  Levelled,    // a fresh identification of the same target first; its level shapes the request
  Reset,       // the identification chooses the loader reset or the two working steps
  Update,      // identification, image check, then the transfer form that fits the modem
  CheckImage,  // the image checks alone; the level from --level or an identification
  LoopConnect, // connect; a stopped connect is followed by the disconnect
  LoopTest,    // identify, connect, poll the loop page, disconnect
};

struct CliCommand {
  std::string_view name;
  std::uint8_t command;  // worker command of the main step; 0 for check-image
  Argument argument;
  Road road;
  bool localOnly;
  std::string_view synopsis;
  std::string_view summary;
};

std::span<const CliCommand> CliCommands();
const CliCommand* FindCliCommand(QStringView name);

QString UsageText();

// The tables hold Latin-1 literals; this turns one into text.
inline QString Text(std::string_view latin1) {
  return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

}  // namespace rkvt::cli
