#pragma once

#include <optional>

#include <QString>
#include <QStringList>
#include <QStringView>

namespace rkvt::setup {

// The rows of the setup list in their markup, as the list component shows
// them: rows are found, read and changed by the key of their value link.
class ParamList {
 public:
  void Clear() { rows_.clear(); }
  // False (and nothing added) for a second row with a key the list already carries.
  bool Add(const QString& row);
  const QStringList& Rows() const { return rows_; }
  // The row that carries the key, or -1.
  int Find(QStringView key) const;
  std::optional<QString> Value(QStringView key) const;
  // Replaces the key's value text; false when no row carries the key.
  bool SetValue(QStringView key, QStringView text);

 private:
  QStringList rows_;
};

// The key of a row's value link, or nothing for a row without one.
std::optional<QString> LinkKey(QStringView row);
std::optional<QString> LinkValue(QStringView row);

// A row for a terminal: tags removed, the IND columns kept as blanks and the
// key in brackets after the value of a link ("     Mode :  1 [E1Mode]").
QString PlainRow(QStringView row);

}  // namespace rkvt::setup
