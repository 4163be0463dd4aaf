#pragma once

#include <QString>
#include <QStringList>

#include "setup/ConfigRecord.h"
#include "setup/ParamList.h"

namespace rkvt::setup {

// The entries a click on the key's link drops down, in order; empty for keys
// that flip or only display (and for E1TSSig while the signalling is CAS).
QStringList ChoiceList(Key key, const ConfigRecord& record, const ParamList& list);

// The help line while the pointer rests on the key's link.
QString HelpText(Key key, const ConfigRecord& record, const ParamList& list);

}  // namespace rkvt::setup
