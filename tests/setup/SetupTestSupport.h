#pragma once

#include <initializer_list>
#include <utility>

#include <gtest/gtest.h>

#include "setup/SetupModel.h"

namespace rkvt::setup::test {

// A record with some bytes set: {{byte, value}, ...}.
template <typename Bytes>
RecordBytes With(RecordBytes r, const Bytes& bytes) {
  for (const auto& [at, value] : bytes) r[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
  return r;
}
inline RecordBytes Rec(std::initializer_list<std::pair<int, int>> bytes) { return With(RecordBytes{}, bytes); }

inline SetupModel Built(int level, int variant, const RecordBytes& record) {
  SetupModel m({level, variant});
  m.Build(record);
  return m;
}

// Expected texts: list entries or markup rows.
inline QStringList L(std::initializer_list<const char*> texts) {
  QStringList out;
  for (const char* t : texts) out.append(QString::fromLatin1(t));
  return out;
}

inline QString Value(const SetupModel& m, const char* key) {
  return m.List().Value(QString::fromLatin1(key)).value_or(QStringLiteral("<no row>"));
}

// The keys of the list's link rows, in order, joined by blanks.
inline std::string LinkKeys(const SetupModel& m) {
  QStringList keys;
  for (const QString& row : m.List().Rows())
    if (const auto key = LinkKey(row)) keys.append(*key);
  return keys.join(u' ').toStdString();
}

}  // namespace rkvt::setup::test
