#pragma once

#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

namespace rkvt::cli {

// r-kvt-ms-cli config show|choices|set: the setup window's road from a terminal.
struct ConfigOptions {
  enum class Action { Show, Choices, Set };
  QString port;
  bool remote = false;
  bool fastTimeouts = false;
  Action action = Action::Show;
  bool markup = false;                                // show: the rows as the list holds them
  QString key;                                        // choices
  std::vector<std::pair<QString, QString>> changes;  // set: key and the text it should end on
};

struct ParsedConfig {
  enum class Kind { Run, Help, Usage };
  Kind kind = Kind::Usage;
  ConfigOptions options;
  QString error;
};

// The command line names config as its command (arguments without the program name).
bool IsConfigCommand(const QStringList& arguments);
ParsedConfig ParseConfigArguments(const QStringList& arguments);
QString ConfigUsageText();

}  // namespace rkvt::cli
