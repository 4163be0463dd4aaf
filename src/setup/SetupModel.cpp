#include "setup/SetupModel.h"

#include "setup/ChoiceLists.h"
#include "setup/Rules.h"

namespace rkvt::setup {

void SetupModel::Build(std::span<const std::uint8_t> record) {
  record_.TakeIn(record);
  BuildRows(record_, list_);
  ValuePass(record_, list_);
}

SetupModel::Click SetupModel::ClickLink(QStringView name) {
  const auto key = FindKey(name);
  if (!key || list_.Find(name) < 0) return {};
  switch (KindOf(*key)) {
    case KeyKind::Flip:
      Flip(*key, record_, list_);
      return {ClickAction::Flipped, {}};
    case KeyKind::Choice:
    case KeyKind::Composed: return {ClickAction::OpenList, setup::ChoiceList(*key, record_, list_)};
    case KeyKind::Display: break;
  }
  return {};
}

void SetupModel::Choose(QStringView name, QStringView text) {
  if (const auto key = FindKey(name)) setup::Choose(*key, text, record_, list_);
}

QStringList SetupModel::ChoiceList(QStringView name) const {
  const auto key = FindKey(name);
  return key ? setup::ChoiceList(*key, record_, list_) : QStringList();
}

QString SetupModel::HelpText(QStringView name) const {
  const auto key = FindKey(name);
  return key ? setup::HelpText(*key, record_, list_) : QString();
}

}  // namespace rkvt::setup
