#include "setup/ParamList.h"

namespace rkvt::setup {

namespace {

constexpr QLatin1StringView kLinkOpen("<A href=\"");
constexpr QLatin1StringView kLinkClose("</A>");

struct Link {
  qsizetype valueStart = -1;
  qsizetype valueEnd = -1;
  QStringView key;
};

Link FindLink(QStringView row) {
  const qsizetype open = row.indexOf(kLinkOpen);
  if (open < 0) return {};
  const qsizetype keyStart = open + kLinkOpen.size();
  const qsizetype keyEnd = row.indexOf(QLatin1String("\">"), keyStart);
  if (keyEnd < 0) return {};
  const qsizetype valueEnd = row.indexOf(kLinkClose, keyEnd + 2);
  if (valueEnd < 0) return {};
  return {keyEnd + 2, valueEnd, row.mid(keyStart, keyEnd - keyStart)};
}

// The IND tag's x in pixels as a terminal column: 4 pixels a character.
constexpr int kPixelsPerColumn = 4;

}  // namespace

bool ParamList::Add(const QString& row) {
  const Link link = FindLink(row);
  if (link.valueStart >= 0 && Find(link.key) >= 0) return false;
  rows_.append(row);
  return true;
}

int ParamList::Find(QStringView key) const {
  for (qsizetype i = 0; i < rows_.size(); ++i) {
    const Link link = FindLink(rows_[i]);
    if (link.valueStart >= 0 && link.key == key) return static_cast<int>(i);
  }
  return -1;
}

std::optional<QString> ParamList::Value(QStringView key) const {
  const int i = Find(key);
  if (i < 0) return std::nullopt;
  return LinkValue(rows_[i]);
}

bool ParamList::SetValue(QStringView key, QStringView text) {
  const int i = Find(key);
  if (i < 0) return false;
  const Link link = FindLink(rows_[i]);
  rows_[i].replace(link.valueStart, link.valueEnd - link.valueStart, text.toString());
  return true;
}

std::optional<QString> LinkKey(QStringView row) {
  const Link link = FindLink(row);
  if (link.valueStart < 0) return std::nullopt;
  return link.key.toString();
}

std::optional<QString> LinkValue(QStringView row) {
  const Link link = FindLink(row);
  if (link.valueStart < 0) return std::nullopt;
  return row.mid(link.valueStart, link.valueEnd - link.valueStart).toString();
}

QString PlainRow(QStringView row) {
  QString out;
  QString pendingKey;
  qsizetype i = 0;
  while (i < row.size()) {
    const qsizetype close = row[i] == u'<' ? row.indexOf(u'>', i) : -1;
    if (close < 0) {
      out += row[i++];
      continue;
    }
    const QStringView tag = row.mid(i + 1, close - i - 1);
    i = close + 1;
    if (tag.startsWith(QLatin1String("IND x=\""))) {
      const qsizetype column = tag.mid(7).chopped(1).toInt() / kPixelsPerColumn;
      if (out.size() < column) out += QString(column - out.size(), u' ');
      else if (!out.endsWith(u' ')) out += u' ';
    } else if (tag.startsWith(QLatin1String("A href=\""))) {
      pendingKey = tag.mid(8).chopped(1).toString();
    } else if (tag == QLatin1String("/A") && !pendingKey.isEmpty()) {
      out += QStringLiteral(" [%1]").arg(pendingKey);
      pendingKey.clear();
    }
  }
  return out;
}

}  // namespace rkvt::setup
