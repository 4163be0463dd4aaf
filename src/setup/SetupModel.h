#pragma once

#include <cstdint>
#include <span>

#include <QString>
#include <QStringList>

#include "setup/ConfigRecord.h"
#include "setup/ListBuilder.h"
#include "setup/ParamList.h"

namespace rkvt::setup {

// What the setup window holds besides its controls: the record, the list
// built from it, and what a click, a choice or a hover on a value link does.
// Every step works on the working copy; SendDue() says when set new mode is owed.
class SetupModel {
 public:
  explicit SetupModel(ModemContext context = {}) : record_(context) {}

  // The identified modem; takes effect at the next Build.
  void SetContext(ModemContext context) { record_.SetContext(context); }
  const ModemContext& Context() const { return record_.Context(); }

  // Takes the record in (both copies) and builds the list: rows of its view,
  // then the value pass. Used on entering setup and for every rebuild.
  void Build(std::span<const std::uint8_t> record);
  void RebuildFromWorking() { Build(RecordBytes(record_.Working())); }
  void RebuildFromReceived() { Build(RecordBytes(record_.Received())); }

  const ConfigRecord& Record() const { return record_; }
  const ParamList& List() const { return list_; }
  ListLayout Layout() const { return LayoutFor(record_.InterfaceView()); }
  ProfileSelection Profiles() const { return ProfilesFor(record_.Received()); }

  enum class ClickAction {
    None,      // a display-only row, a key without a row, or no link
    Flipped,   // the row and the working copy changed at once
    OpenList,  // drop down Entries(); the pick comes back through Choose
  };
  struct Click {
    ClickAction action = ClickAction::None;
    QStringList entries;
  };
  Click ClickLink(QStringView key);
  void Choose(QStringView key, QStringView text);

  QStringList ChoiceList(QStringView key) const;
  QString HelpText(QStringView key) const;

  bool SendDue() const { return record_.Changed(); }

 private:
  ConfigRecord record_;
  ParamList list_;
};

}  // namespace rkvt::setup
