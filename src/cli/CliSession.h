#pragma once

#include <array>
#include <cstdint>
#include <span>

#include <QTextStream>

#include "cli/CliArguments.h"
#include "cli/CliHost.h"
#include "firmware/ImageFile.h"
#include "cli/ReplyPrinter.h"
#include "cli/WindowTexts.h"
#include "cli/WorkerOutcome.h"
#include "cli/WorkerRunner.h"

namespace rkvt::cli {

// Carries out one parsed command line: the worker runs it needs, in order,
// each result printed; returns the exit status.
class CliSession {
 public:
  CliSession(const CliOptions& options, WorkerRunner& runner, CliHost& host, ReplyPrinter& out, QTextStream& err);
  int Run();

 private:
  struct Identification {
    Outcome outcome;
    bool working;  // answered in the working framing, not from its loader
    int level;
  };

  int RunIdentify();
  int RunSingle();
  int RunLevelled();
  int RunReset();
  int RunUpdate();
  int RunCheckImage();
  int RunLoopConnect();
  int RunLoopTest();
  // The disconnect that ends a test; exit 2 after a stop, else by its outcome.
  int EndLoop(bool local, bool stopped);
  bool PortFailed() const;

  // One worker run on a fresh exchange block; prints its result and reply.
  Outcome Step(std::uint8_t command, bool local, std::span<const std::uint8_t> data, int softwareLevel = 0,
               std::span<const std::uint8_t> image = {});
  Identification Identify(bool local);
  // False, with a note, when Ctrl-C came between two steps.
  bool MayGoOn();
  int Refuse(const QString& why);
  bool ReportImageCheck(const ImageValidation& check);

  const CliOptions& options_;
  WorkerRunner& runner_;
  CliHost& host_;
  ReplyPrinter& out_;
  QTextStream& err_;
  // The main window's exchange block size: room for every command's reply.
  std::array<std::uint8_t, 120> block_{};
  WindowTexts windowTexts_;
};

}  // namespace rkvt::cli
