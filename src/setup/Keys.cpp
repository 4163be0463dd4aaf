#include "setup/Keys.h"

#include <algorithm>

#include <QString>

namespace rkvt::setup {

std::optional<Key> FindKey(QStringView name) {
  const auto it = std::find_if(kKeySpecs.begin(), kKeySpecs.end(), [name](const KeySpec& s) {
    return name == QLatin1String(s.name.data(), static_cast<qsizetype>(s.name.size()));
  });
  if (it == kKeySpecs.end()) return std::nullopt;
  return it->key;
}

std::string_view KeyName(Key key) { return kKeySpecs[Index(key)].name; }
KeyKind KindOf(Key key) { return kKeySpecs[Index(key)].kind; }

}  // namespace rkvt::setup
