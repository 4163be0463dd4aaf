#include <array>

#include "mainwin/Decode.h"

namespace rkvt {

namespace {

using Controls = MainWindowControls;

struct Counter {
  ui::Label Controls::*label;
  ui::StaticText Controls::*field;
};
constexpr std::array kTimeCounters{
    Counter{&Controls::LabelRdTime, &Controls::StaticTextRdTime},
    Counter{&Controls::LabelNRdTime, &Controls::StaticTextNRdTime},
    Counter{&Controls::LabelESTime, &Controls::StaticTextESTime},
    Counter{&Controls::LabelSESTime, &Controls::StaticTextSESTime},
};
constexpr Counter kBitCounter{&Controls::LabelBits, &Controls::StaticTextBits};

struct CounterLayout {
  bool times;
  bool bits;
};
constexpr CounterLayout kEsLayout{true, false};
// By test index: RDL-ES, AL-ES, ES, RDL, AL, DL, LL. Other indexes get the
// ES layout.
constexpr std::array<CounterLayout, 7> kLayouts{
    kEsLayout, kEsLayout, kEsLayout, CounterLayout{false, false}, CounterLayout{false, false},
    CounterLayout{false, true}, CounterLayout{false, false},
};

void ShowCounter(const Counter& c, bool visible, Controls& controls) {
  (controls.*c.label).SetVisible(visible);
  (controls.*c.field).SetVisible(visible);
}

}  // namespace

void BlankTest(MainWindowControls& controls) {
  controls.LabelTest.SetEnabled(false);
  controls.ComboBoxTest.SetEnabled(false);
  for (const Counter& c : kTimeCounters) {
    (controls.*c.label).SetEnabled(false);
    (controls.*c.field).SetText(QString());
  }
  (controls.*kBitCounter.label).SetEnabled(false);
  (controls.*kBitCounter.field).SetText(QString());
  controls.ButtonClearTest.SetEnabled(false);
}

void ApplyCounterLayout(int testIndex, MainWindowControls& controls) {
  BlankTest(controls);
  const bool known = testIndex >= 0 && testIndex < static_cast<int>(kLayouts.size());
  const CounterLayout& layout = known ? kLayouts[testIndex] : kEsLayout;
  for (const Counter& c : kTimeCounters) ShowCounter(c, layout.times, controls);
  ShowCounter(kBitCounter, layout.bits, controls);
}

}  // namespace rkvt
