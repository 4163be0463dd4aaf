#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "cli/CliCommands.h"
#include "link/TestKinds.h"

namespace rkvt::cli {

struct CliOptions {
  QString port;
  bool remote = false;
  bool fastTimeouts = false;
  bool trace = false;  // every frame on stderr
  const CliCommand* command = nullptr;
  // Request bytes from byte 1 of the exchange block, as far as the command line fixes them.
  std::vector<std::uint8_t> requestData;
  const TestKind* test = nullptr;
  QString imageFile;
  std::optional<std::int32_t> level;
  // loop-test: reads before the disconnect (none: until Ctrl-C), and their spacing.
  std::optional<int> polls;
  std::optional<int> intervalMs;
  static constexpr int kDefaultIntervalMs = 1000;
};

struct ParsedArguments {
  enum class Kind { Run, Help, Usage };
  Kind kind = Kind::Usage;
  CliOptions options;
  QString error;  // why the arguments were refused (Usage)
};

// arguments: without the program name.
ParsedArguments ParseArguments(const QStringList& arguments);

// Exactly `count` bytes as hex digits; blanks and colons between them are allowed.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(const QString& text, std::size_t count);

}  // namespace rkvt::cli
