#pragma once

#include <array>
#include <cstdint>
#include <span>

#include <QTextStream>

#include "cli/CliHost.h"
#include "cli/ConfigArguments.h"
#include "cli/WorkerRunner.h"
#include "setup/SetupModel.h"

namespace rkvt::cli {

// Carries out one config command: identify, enter setup, the action, exit
// setup with the payload of the record the list was built from. The list
// goes to stdout; the steps, the system's messages and refusals to stderr.
class ConfigSession {
 public:
  ConfigSession(const ConfigOptions& options, WorkerRunner& runner, CliHost& host, QTextStream& out, QTextStream& err);
  int Run();

 private:
  // One worker run on a fresh block with request data from byte 1; the result code.
  std::uint8_t Step(std::uint8_t command, std::span<const std::uint8_t> data = {});
  int Failed(std::uint8_t command, std::uint8_t result);
  int Enter();
  int Show();
  int Choices();
  int Set();
  // False, with the reason on stderr, when the change cannot be made.
  bool Apply(const QString& key, const QString& value);
  int Exit(int status);
  void PrintList();

  const ConfigOptions& options_;
  WorkerRunner& runner_;
  CliHost& host_;
  QTextStream& out_;
  QTextStream& err_;
  std::array<std::uint8_t, 120> block_{};
  setup::SetupModel model_;
};

// The whole config command line: parse, serve --help, run; the exit status.
int RunConfigCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace rkvt::cli
