#include "cli/LoopCounters.h"

#include <array>

#include <QStringList>

#include "mainwin/Decode.h"

namespace rkvt::cli {

namespace {

using Controls = MainWindowControls;
struct Field {
  ui::Label Controls::*label;
  ui::StaticText Controls::*text;
};
// In the window's order; a test's line holds those its page fills.
constexpr std::array kFields{
    Field{&Controls::LabelState, &Controls::StaticTextState},
    Field{&Controls::LabelQual, &Controls::StaticTextQual},
    Field{&Controls::LabelBitRateLine, &Controls::StaticTextBitRateLine},
    Field{&Controls::LabelBitRatePx, &Controls::StaticTextBitRatePx},
    Field{&Controls::LabelInterface, &Controls::StaticTextInterface},
    Field{&Controls::LabelSpeed, &Controls::StaticTextSpeed},
    Field{&Controls::LabelCable, &Controls::StaticTextCable},
    Field{&Controls::LabelRdTime, &Controls::StaticTextRdTime},
    Field{&Controls::LabelNRdTime, &Controls::StaticTextNRdTime},
    Field{&Controls::LabelESTime, &Controls::StaticTextESTime},
    Field{&Controls::LabelSESTime, &Controls::StaticTextSESTime},
    Field{&Controls::LabelBits, &Controls::StaticTextBits},
};

}  // namespace

LoopCounters::LoopCounters(int testIndex, std::span<std::uint8_t> identification) : testIndex_(testIndex) {
  const IdentificationOutcome id = DecodeIdentification(identification, controls_);
  level_ = id.softwareLevel;
  variant_ = id.modemVariant;
}

QString LoopCounters::Line(std::span<std::uint8_t> block) {
  // The window knows the interface from its state read before the test;
  // here the first page has to tell it, or its port rate would stay empty.
  if (firstLine_) interfaceCode_ = DecodeLoop(block, testIndex_, level_, variant_, interfaceCode_, controls_);
  firstLine_ = false;
  interfaceCode_ = DecodeLoop(block, testIndex_, level_, variant_, interfaceCode_, controls_);
  QStringList parts;
  for (const Field& f : kFields) {
    const QString value = (controls_.*f.text).Text().trimmed();
    if (value.isEmpty()) continue;
    QString name = (controls_.*f.label).Caption();
    name.chop(2);  // " :"
    parts.append(name + QLatin1Char(' ') + value);
  }
  return parts.join(QStringLiteral("; "));
}

}  // namespace rkvt::cli
