#pragma once

#include <string_view>

#include <QStringList>

#include "setup/ConfigRecord.h"
#include "setup/ParamList.h"

namespace rkvt::setup {

// Entries of the interface list that name no interface: choosing one changes nothing.
inline constexpr std::string_view kNoticeNoEthernet = "Ethernet - no module";
inline constexpr std::string_view kNoticeNoE1 = "E1 - no module";
inline constexpr std::string_view kNoticeChangeBitRate = "E1 - change bitrate";
bool IsNotice(QStringView text);

// The interface choice list for the record and the list's present bit rate text.
QStringList InterfaceChoices(const ConfigRecord& record, const ParamList& list);

// A two-valued key: the text it shows before the first click and after it.
struct FlipTexts {
  std::string_view off;
  std::string_view on;
};
// Nothing for keys that do not flip.
std::optional<FlipTexts> FlipTextsOf(Key key);

// A click on a flip key's link: its row and the working copy change at once.
// False, with nothing changed, for other keys and for a key no row carries.
bool Flip(Key key, ConfigRecord& record, ParamList& list);

// The user picked `text` from the key's choice list: the row shows it, the
// working copy takes it; a notice puts the previous interface text back.
void Choose(Key key, QStringView text, ConfigRecord& record, ParamList& list);

}  // namespace rkvt::setup
