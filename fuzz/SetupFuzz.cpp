// Any 26 bytes at any level and variant: the list builds, every flip and every
// choice works on it, and the bits no parameter names reach the modem as received.
#include <algorithm>
#include <array>

#include "FuzzCheck.h"
#include "setup/Rules.h"
#include "setup/SetupModel.h"

namespace {

using namespace rkvt::setup;

// Bits some parameter may write.
constexpr RecordBytes kNamedBits{0xE3, 0xFF, 0x18, 0x38, 0x00, 0x03, 0xFF, 0xFD, 0x00, 0x78, 0x00, 0xFF, 0x00,
                                 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

void CheckCarried(const SetupModel& m) {
  const ConfigRecord& r = m.Record();
  for (std::size_t i = 0; i < kRecordSize; ++i) FUZZ_CHECK((r.Working()[i] & ~kNamedBits[i]) == (r.Received()[i] & ~kNamedBits[i]));
  FUZZ_CHECK(m.SendDue() == (r.Working() != r.Received()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto at = [&](std::size_t i) -> std::uint8_t { return i < size ? data[i] : 0; };
  // Levels and variants beyond the real ones too: nothing may depend on them being sane.
  const ModemContext context{at(0) % 24 - 2, at(1) % 14 - 2};
  RecordBytes record{};
  for (std::size_t i = 0; i < kRecordSize; ++i) record[i] = at(2 + i);

  SetupModel built(context);
  built.Build(record);
  FUZZ_CHECK(built.Record().Received() == record && !built.SendDue());
  FUZZ_CHECK(!built.List().Rows().isEmpty());
  const ListLayout layout = built.Layout();
  FUZZ_CHECK(layout.windowHeight == 450 || layout.windowHeight == 650);

  // Each link alone: a flip, or every entry of its list.
  for (const QString& row : built.List().Rows()) {
    (void)PlainRow(row);
    const auto key = LinkKey(row);
    if (!key) continue;
    FUZZ_CHECK(FindKey(*key).has_value());
    (void)built.HelpText(*key);
    SetupModel flipped = built;
    const SetupModel::Click click = flipped.ClickLink(*key);
    CheckCarried(flipped);
    if (click.action != SetupModel::ClickAction::OpenList) continue;
    FUZZ_CHECK(click.entries == built.ChoiceList(*key));
    for (const QString& entry : click.entries) {
      SetupModel chosen = built;
      chosen.Choose(*key, entry);
      CheckCarried(chosen);
      if (IsNotice(entry)) FUZZ_CHECK(chosen.Record().Working() == record && chosen.List().Value(*key) == built.List().Value(*key));
    }
  }

  // Then a run of clicks and picks on one model, steered by the remaining bytes,
  // with rebuilds from the working copy in between as after a set new mode.
  SetupModel m = built;
  for (std::size_t i = 2 + kRecordSize; i + 1 < size; i += 2) {
    const QStringList& rows = m.List().Rows();
    const auto key = LinkKey(rows[data[i] % rows.size()]);
    if (!key) continue;
    const SetupModel::Click click = m.ClickLink(*key);
    if (click.action == SetupModel::ClickAction::OpenList && !click.entries.isEmpty())
      m.Choose(*key, click.entries[data[i + 1] % click.entries.size()]);
    CheckCarried(m);
    if (data[i + 1] & 0x80) {
      const RecordBytes working = m.Record().Working();
      m.RebuildFromWorking();
      FUZZ_CHECK(m.Record().Received() == working);
      record = working;
    }
  }
  return 0;
}
