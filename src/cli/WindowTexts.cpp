#include "cli/WindowTexts.h"

#include <array>
#include <vector>

#include "mainwin/Decode.h"
#include "mainwin/SignalPanels.h"

namespace rkvt::cli {

namespace {

using Controls = MainWindowControls;
using Field = std::pair<ui::Label Controls::*, ui::StaticText Controls::*>;

constexpr std::array kIdentificationFields{Field{&Controls::LabelModem, &Controls::StaticTextModem},
                                           Field{&Controls::LabelVersion, &Controls::StaticTextVersion}};
constexpr std::array kStateFields{
    Field{&Controls::LabelState, &Controls::StaticTextState},
    Field{&Controls::LabelInterface, &Controls::StaticTextInterface},
    Field{&Controls::LabelSpeed, &Controls::StaticTextSpeed},
    Field{&Controls::LabelCable, &Controls::StaticTextCable},
    Field{&Controls::LabelQual, &Controls::StaticTextQual},
    Field{&Controls::LabelBitRateLine, &Controls::StaticTextBitRateLine},
    Field{&Controls::LabelBitRatePx, &Controls::StaticTextBitRatePx},
    Field{&Controls::LabelFillTime, &Controls::StaticTextFillTime},
    Field{&Controls::LabelCurrTime, &Controls::StaticTextCurrTime},
    Field{&Controls::LabelNoLineTime, &Controls::StaticTextNoLineTime},
    Field{&Controls::LabelErrorsTime, &Controls::StaticTextErrorsTime},
    Field{&Controls::LabelFaults, &Controls::StaticTextFaults},
};

// "Line quality :" and " 12.5 " become "Line quality: 12.5"; fields the
// window hides for this interface are left out.
template <std::size_t N>
void AddFields(const std::array<Field, N>& fields, Controls& controls, QStringList& lines) {
  for (const auto& [label, text] : fields) {
    const ui::StaticText& field = controls.*text;
    if (!field.Visible()) continue;
    QString caption = (controls.*label).Caption();
    caption.remove(QLatin1Char(':'));
    lines << caption.trimmed() + QStringLiteral(": ") + field.Text().trimmed();
  }
}

}  // namespace

QStringList WindowTexts::Identification(std::span<const std::uint8_t> block) {
  const IdentificationOutcome outcome = DecodeIdentification(block, controls_);
  level_ = outcome.softwareLevel;
  variant_ = outcome.modemVariant;
  QStringList lines;
  AddFields(kIdentificationFields, controls_, lines);
  return lines;
}

QStringList WindowTexts::Statistics(std::span<const std::uint8_t> block, bool local) {
  // The decoders may rewrite the activity record in place; keep the caller's block as it came.
  std::vector<std::uint8_t> copy(block.begin(), block.end());
  interfaceCode_ = DecodeState(copy, level_, variant_, local, interfaceCode_, controls_);
  DecodeStatistics(copy, controls_);
  QStringList lines;
  AddFields(kStateFields, controls_, lines);
  for (const SignalPanel& panel : kSignalPanels) {
    const ui::GroupBox& box = controls_.*panel.panel;
    if (!box.Visible()) continue;
    for (const PanelLamp& lamp : panel.lamps)
      lines << QStringLiteral("%1 %2: %3")
                   .arg(box.Caption().trimmed(), QLatin1String(lamp.label),
                        LampOn(controls_.*lamp.shape) ? QStringLiteral("on") : QStringLiteral("off"));
  }
  return lines;
}

}  // namespace rkvt::cli
