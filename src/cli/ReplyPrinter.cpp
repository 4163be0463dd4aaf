#include "cli/ReplyPrinter.h"

#include <QByteArray>

#include "link/Commands.h"

namespace rkvt::cli {

QString HexBytes(std::span<const std::uint8_t> bytes) {
  const QByteArray raw(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  return QString::fromLatin1(raw.toHex(' ').toUpper());
}

void ReplyPrinter::Result(std::uint8_t result, std::span<const std::uint8_t> reply) {
  const std::string_view meaning = FindResult(result).meaning;
  Line(QStringLiteral("result %1: %2").arg(result).arg(QLatin1String(meaning.data(), meaning.size())));
  Line(QStringLiteral("reply: ") + HexBytes(reply));
}

void ReplyPrinter::Level(int softwareLevel) { Line(QStringLiteral("level %1").arg(softwareLevel)); }

void ReplyPrinter::Refusal(std::span<const std::uint8_t> detail) { Line(QStringLiteral("refusal: ") + HexBytes(detail)); }

void ReplyPrinter::Line(const QString& text) {
  out_ << text << '\n';
  out_.flush();
}

}  // namespace rkvt::cli
