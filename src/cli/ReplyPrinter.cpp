#include "ReplyPrinter.h"

#include <QStringList>

#include "ResultCodes.h"

namespace rkvt::cli {

QString HexBytes(std::span<const std::uint8_t> bytes) {
  QStringList pairs;
  pairs.reserve(static_cast<qsizetype>(bytes.size()));
  for (std::uint8_t b : bytes) pairs.append(QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper());
  return pairs.join(QLatin1Char(' '));
}

void ReplyPrinter::Result(std::uint8_t result, std::span<const std::uint8_t> reply) {
  const std::string_view meaning = ResultMeaning(result);
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
