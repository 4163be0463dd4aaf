#include "cli/ConfigArguments.h"

#include "setup/Keys.h"

namespace rkvt::cli {

namespace {

const QString kConfig = QStringLiteral("config");

bool IsOption(const QString& arg) { return arg.startsWith(QLatin1String("--")) || arg == QLatin1String("-h"); }

QString CheckKey(const QString& key) {
  return setup::FindKey(key) ? QString() : QStringLiteral("unknown key \"%1\" (r-kvt-ms-cli config show names them)").arg(key);
}

}  // namespace

bool IsConfigCommand(const QStringList& arguments) {
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    if (arg == QLatin1String("--port")) {
      ++i;  // its value
      continue;
    }
    if (IsOption(arg)) continue;
    return arg == kConfig;
  }
  return false;
}

ParsedConfig ParseConfigArguments(const QStringList& arguments) {
  ParsedConfig parsed;
  ConfigOptions& o = parsed.options;
  QStringList positional;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    // Values of set may look like options ("-30"): only "--" words and -h are options.
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) return {ParsedConfig::Kind::Help, {}, {}};
    if (arg == QLatin1String("--port")) {
      if (++i >= arguments.size()) return {ParsedConfig::Kind::Usage, {}, QStringLiteral("--port needs a value")};
      o.port = arguments[i];
    } else if (arg.startsWith(QLatin1String("--port="))) {
      o.port = arg.mid(7);
    } else if (arg == QLatin1String("--remote")) {
      o.remote = true;
    } else if (arg == QLatin1String("--fast-timeouts")) {
      o.fastTimeouts = true;
    } else if (arg == QLatin1String("--markup")) {
      o.markup = true;
    } else if (arg.startsWith(QLatin1String("--"))) {
      return {ParsedConfig::Kind::Usage, {}, QStringLiteral("unknown option %1").arg(arg)};
    } else {
      positional.append(arg);
    }
  }
  const auto usage = [&parsed](const QString& why) {
    parsed.kind = ParsedConfig::Kind::Usage;
    parsed.error = why;
    return parsed;
  };
  if (positional.size() < 2 || positional[0] != kConfig) return usage(QStringLiteral("config needs show, choices KEY or set KEY VALUE ..."));
  const QString& action = positional[1];
  const QStringList rest = positional.mid(2);
  if (action == QLatin1String("show")) {
    o.action = ConfigOptions::Action::Show;
    if (!rest.isEmpty()) return usage(QStringLiteral("unexpected argument \"%1\" after config show").arg(rest[0]));
  } else if (action == QLatin1String("choices")) {
    o.action = ConfigOptions::Action::Choices;
    if (rest.size() != 1) return usage(QStringLiteral("config choices needs exactly one KEY"));
    o.key = rest[0];
    if (const QString why = CheckKey(o.key); !why.isEmpty()) return usage(why);
  } else if (action == QLatin1String("set")) {
    o.action = ConfigOptions::Action::Set;
    if (rest.isEmpty() || rest.size() % 2 != 0) return usage(QStringLiteral("config set needs KEY VALUE pairs"));
    for (qsizetype i = 0; i < rest.size(); i += 2) {
      if (const QString why = CheckKey(rest[i]); !why.isEmpty()) return usage(why);
      o.changes.emplace_back(rest[i], rest[i + 1]);
    }
  } else {
    return usage(QStringLiteral("unknown config action \"%1\"; actions: show, choices, set").arg(action));
  }
  if (o.markup && o.action != ConfigOptions::Action::Show) return usage(QStringLiteral("--markup belongs to config show"));
  if (o.port.isEmpty()) return usage(QStringLiteral("config needs --port NAME"));
  parsed.kind = ParsedConfig::Kind::Run;
  return parsed;
}

QString ConfigUsageText() {
  return QStringLiteral(
      "\n"
      "configuration (the setup window's road, without the window):\n"
      "  config show [--markup]\n"
      "      identify, enter setup, print the parameter list (one row a line, the key\n"
      "      in brackets after each value; --markup: the rows as the list holds them),\n"
      "      leave setup\n"
      "  config choices KEY\n"
      "      the key's choice list, one entry a line, then its help text; or that it\n"
      "      flips between two values or only displays one\n"
      "  config set KEY VALUE [KEY VALUE ...]\n"
      "      apply each change as the setup window would (a key that flips takes the\n"
      "      value it should end on), send one set new mode with every change, print\n"
      "      the resulting list, leave setup. A value that is not one of the key's\n"
      "      choices sends nothing, lists the choices and ends with status 1.\n");
}

}  // namespace rkvt::cli
