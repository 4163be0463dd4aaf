#include "ui/widgets/ParamRowMarkup.h"

#include <QRegularExpression>

namespace rkvt::ui {

namespace {

// The value of attribute `name` in a tag's inside: name="v", name='v' or name=v.
QString Attribute(const QString& tag, const QString& name) {
  const QRegularExpression re(QStringLiteral("\\b%1\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))").arg(name),
                              QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = re.match(tag);
  if (!m.hasMatch()) return {};
  for (int i = 1; i <= 3; ++i)
    if (m.capturedStart(i) >= 0) return m.captured(i);
  return {};
}

}  // namespace

ParamRowMarkup ParamRowMarkup::Parse(const QString& markup) {
  ParamRowMarkup row;
  row.markup = markup;
  const qsizetype n = markup.size();
  qsizetype i = 0;
  while (i < n && markup[i] == QLatin1Char(' ')) ++i;
  row.indent = static_cast<int>(i);

  bool inLink = false;
  bool linkSeen = false;
  auto addText = [&](const QString& text, qsizetype at) {
    if (text.isEmpty()) return;
    if (inLink) {
      Piece& link = row.pieces[static_cast<std::size_t>(row.link)];
      if (link.text.isEmpty()) row.valueStart_ = static_cast<int>(at);
      link.text += text;
      row.valueLength_ = static_cast<int>(at + text.size()) - row.valueStart_;
    } else if (!row.pieces.empty() && row.pieces.back().kind == Piece::Kind::Text) {
      row.pieces.back().text += text;
    } else {
      row.pieces.push_back({Piece::Kind::Text, text});
    }
  };

  while (i < n) {
    const qsizetype open = markup.indexOf(QLatin1Char('<'), i);
    const qsizetype close = open < 0 ? -1 : markup.indexOf(QLatin1Char('>'), open);
    if (open < 0 || close < 0) {
      addText(markup.mid(i), i);
      break;
    }
    // A tag starts with its name; a "<" before a blank or before another "<" is text.
    const QChar first = open + 1 < n ? markup[open + 1] : QChar();
    const qsizetype nextOpen = markup.indexOf(QLatin1Char('<'), open + 1);
    if (!(first.isLetter() || first == QLatin1Char('/')) || (nextOpen >= 0 && nextOpen < close)) {
      addText(markup.mid(i, open + 1 - i), i);
      i = open + 1;
      continue;
    }
    addText(markup.mid(i, open - i), i);
    const QString tag = markup.mid(open + 1, close - open - 1).trimmed();
    const QString name = tag.section(QLatin1Char(' '), 0, 0).toUpper();
    i = close + 1;
    if (name == QLatin1String("IND")) {
      bool ok = false;
      const int x = Attribute(tag, QStringLiteral("x")).toInt(&ok);
      if (ok && x >= 0) {
        inLink = false;  // a column move ends a link left open
        row.pieces.push_back({Piece::Kind::Column, {}, x});
      }
    } else if (name == QLatin1String("A") && !linkSeen) {
      const QString key = Attribute(tag, QStringLiteral("href"));
      if (key.isEmpty()) continue;
      linkSeen = inLink = true;
      row.key = key;
      row.link = static_cast<int>(row.pieces.size());
      row.pieces.push_back({Piece::Kind::Link, {}});
      row.valueStart_ = static_cast<int>(i);
      row.valueLength_ = 0;
    } else if (name == QLatin1String("/A")) {
      inLink = false;
    } else if (name == QLatin1String("HR")) {
      inLink = false;
      row.separator = true;
    }
  }
  return row;
}

void ParamRowMarkup::SetValue(const QString& value) {
  if (!HasLink()) return;
  pieces[static_cast<std::size_t>(link)].text = value;
  markup.replace(valueStart_, valueLength_, value);
  valueLength_ = static_cast<int>(value.size());
}

QString ParamRowMarkup::PlainText(std::pair<int, int>* valueAt) const {
  QString out;
  std::pair<int, int> value{-1, -1};
  for (std::size_t p = 0; p < pieces.size(); ++p) {
    const Piece& piece = pieces[p];
    const QString text = piece.kind == Piece::Kind::Column ? QStringLiteral(" ") : piece.text;
    for (const QChar c : text) {
      const bool blank = c.isSpace();
      if (blank && (out.isEmpty() || out.back() == QLatin1Char(' '))) continue;
      if (static_cast<int>(p) == link && value.first < 0) value.first = static_cast<int>(out.size());
      out += blank ? QLatin1Char(' ') : c;
    }
    if (static_cast<int>(p) == link && value.first >= 0) value.second = static_cast<int>(out.size());
  }
  if (out.endsWith(QLatin1Char(' '))) out.chop(1);
  if (valueAt != nullptr) {
    value.second = qMin(value.second, static_cast<int>(out.size()));
    *valueAt = value;
  }
  return out;
}

}  // namespace rkvt::ui
