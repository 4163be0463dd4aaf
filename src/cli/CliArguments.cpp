#include "cli/CliArguments.h"

#include <array>

namespace rkvt::cli {

namespace {

constexpr std::size_t kPayloadBytes = 4;
constexpr std::size_t kRecordBytes = 26;

struct ProfileRange {
  int first, last;
};
// Profile 1 is the factory setting: it can be loaded but not overwritten.
constexpr ProfileRange kLoadRange{1, 5};
constexpr ProfileRange kSaveRange{2, 5};

class Parser {
 public:
  explicit Parser(const QStringList& arguments) : args_(arguments) {}

  ParsedArguments Parse() {
    for (const QString& arg : args_) {
      if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) return {ParsedArguments::Kind::Help, {}, {}};
    }
    for (qsizetype i = 0; i < args_.size() && error_.isEmpty(); ++i) TakeArgument(i);
    if (error_.isEmpty()) Interpret();
    if (!error_.isEmpty()) return {ParsedArguments::Kind::Usage, {}, error_};
    return {ParsedArguments::Kind::Run, options_, {}};
  }

 private:
  // An option with a value, as "--name VALUE" or "--name=VALUE".
  std::optional<QString> Value(const QString& option, qsizetype& i) {
    const QString& arg = args_[i];
    if (arg.startsWith(option + '=')) return arg.mid(option.size() + 1);
    if (arg != option) return std::nullopt;
    if (i + 1 >= args_.size()) {
      error_ = option + QStringLiteral(" needs a value");
      return QString();
    }
    return args_[++i];
  }

  void TakeArgument(qsizetype& i) {
    const QString& arg = args_[i];
    if (auto port = Value(QStringLiteral("--port"), i)) {
      options_.port = *port;
      if (error_.isEmpty() && port->isEmpty()) error_ = QStringLiteral("--port needs a port name");
    } else if (auto level = Value(QStringLiteral("--level"), i)) {
      bool ok = false;
      const int value = level->toInt(&ok);
      if (ok) options_.level = value;
      else if (error_.isEmpty()) error_ = QStringLiteral("--level needs a number, not \"%1\"").arg(*level);
    } else if (auto polls = Value(QStringLiteral("--polls"), i)) {
      TakeCount(QStringLiteral("--polls"), *polls, 1, options_.polls);
    } else if (auto interval = Value(QStringLiteral("--interval"), i)) {
      TakeCount(QStringLiteral("--interval"), *interval, 0, options_.intervalMs);
    } else if (arg == QLatin1String("--remote")) {
      options_.remote = true;
    } else if (arg == QLatin1String("--trace")) {
      options_.trace = true;
    } else if (arg == QLatin1String("--fast-timeouts")) {
      options_.fastTimeouts = true;
    } else if (arg.startsWith('-') && arg.size() > 1) {
      error_ = QStringLiteral("unknown option %1").arg(arg);
    } else {
      positional_.append(arg);
    }
  }

  // A whole number from `least` up; a day's worth of milliseconds at most.
  void TakeCount(const QString& option, const QString& text, int least, std::optional<int>& into) {
    constexpr int kMost = 86'400'000;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok && value >= least && value <= kMost) {
      into = value;
    } else if (error_.isEmpty()) {
      error_ = QStringLiteral("%1 needs a number from %2 to %3, not \"%4\"").arg(option).arg(least).arg(kMost).arg(text);
    }
  }

  void Interpret() {
    if (positional_.isEmpty()) {
      error_ = QStringLiteral("no command given");
      return;
    }
    const CliCommand* command = FindCliCommand(positional_[0]);
    if (command == nullptr) {
      error_ = QStringLiteral("unknown command \"%1\"").arg(positional_[0]);
      return;
    }
    options_.command = command;
    const qsizetype wanted = command->argument == Argument::None ? 1 : 2;
    if (positional_.size() < wanted) {
      error_ = QStringLiteral("missing argument: %1").arg(Text(command->synopsis));
      return;
    }
    if (positional_.size() > wanted) {
      error_ = QStringLiteral("unexpected argument \"%1\" after %2").arg(positional_[wanted], Text(command->name));
      return;
    }
    if (wanted == 2) TakeCommandArgument(*command, positional_[1]);
    if (error_.isEmpty()) CheckCombination(*command);
  }

  void TakeCommandArgument(const CliCommand& command, const QString& text) {
    switch (command.argument) {
      case Argument::None: break;
      case Argument::Payload: TakeHex(text, kPayloadBytes, QStringLiteral("PAYLOAD")); break;
      case Argument::Record: TakeHex(text, kRecordBytes, QStringLiteral("HEX")); break;
      case Argument::LoadProfile: TakeProfile(text, kLoadRange); break;
      case Argument::SaveProfile: TakeProfile(text, kSaveRange); break;
      case Argument::TestCode:
      case Argument::TestPage: TakeTest(text, command.argument == Argument::TestCode); break;
      case Argument::ImageFile: options_.imageFile = text; break;
    }
  }

  void TakeHex(const QString& text, std::size_t count, const QString& what) {
    if (auto bytes = ParseHexBytes(text, count)) options_.requestData = *bytes;
    else error_ = QStringLiteral("%1 must be exactly %2 bytes as hex, not \"%3\"").arg(what).arg(count).arg(text);
  }

  void TakeProfile(const QString& text, ProfileRange range) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < range.first || number > range.last) {
      error_ = QStringLiteral("profile number must be %1 to %2, not \"%3\"").arg(range.first).arg(range.last).arg(text);
      return;
    }
    options_.requestData = {0, static_cast<std::uint8_t>(number)};
  }

  void TakeTest(const QString& text, bool sendCode) {
    const TestKind* test = FindTestKind(text);
    if (test == nullptr) {
      QStringList names;
      for (const TestKind& t : TestKinds()) names.append(Text(t.name));
      error_ = QStringLiteral("unknown test \"%1\"; tests: %2").arg(text, names.join(QStringLiteral(", ")));
      return;
    }
    options_.test = test;
    // The loop page needs the level, which only the modem can tell.
    if (sendCode) options_.requestData = {0, test->code};
  }

  void CheckCombination(const CliCommand& command) {
    if (command.localOnly && options_.remote) {
      error_ = QStringLiteral("%1 works on the local modem only; --remote is refused").arg(Text(command.name));
    } else if (options_.test && options_.remote && !options_.test->remote) {
      error_ = QStringLiteral("test %1 runs on the local modem only").arg(Text(options_.test->name));
    } else if ((options_.polls || options_.intervalMs) && command.road != Road::LoopTest) {
      error_ = QStringLiteral("--polls and --interval belong to loop-test");
    } else if (options_.level && command.road != Road::CheckImage) {
      error_ = QStringLiteral("--level belongs to check-image");
    } else if (command.road == Road::CheckImage) {
      if (options_.port.isEmpty() && !options_.level) error_ = QStringLiteral("check-image needs --level N or --port NAME");
    } else if (options_.port.isEmpty()) {
      error_ = QStringLiteral("%1 needs --port NAME").arg(Text(command.name));
    }
  }

  const QStringList& args_;
  QStringList positional_;
  CliOptions options_;
  QString error_;
};

int HexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  return -1;
}

}  // namespace

ParsedArguments ParseArguments(const QStringList& arguments) { return Parser(arguments).Parse(); }

std::optional<std::vector<std::uint8_t>> ParseHexBytes(const QString& text, std::size_t count) {
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (QChar c : text) {
    // Separators only between bytes, never inside one.
    if (c == ' ' || c == ':') {
      if (high >= 0) return std::nullopt;
      continue;
    }
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    if (high < 0) {
      high = digit;
      continue;
    }
    bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
    high = -1;
  }
  if (high >= 0 || bytes.size() != count) return std::nullopt;
  return bytes;
}

}  // namespace rkvt::cli
