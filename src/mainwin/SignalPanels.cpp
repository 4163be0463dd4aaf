#include "mainwin/SignalPanels.h"

#include <array>

#include "mainwin/BlockBytes.h"
#include "mainwin/Decode.h"

namespace rkvt {

namespace {

using Controls = MainWindowControls;
using ShapeMember = ui::Shape Controls::*;

// One indicator and the page bit that drives it. Offsets are from the slot
// on second-generation pages and from the block start on first-generation
// ones.
struct IndicatorBit {
  ShapeMember shape;
  std::uint8_t offset;
  std::uint8_t bit;
};

constexpr std::array kSlotPort2{
    IndicatorBit{&Controls::ShapeP2RTS, 2, 4}, IndicatorBit{&Controls::ShapeP2DTR, 2, 3},
    IndicatorBit{&Controls::ShapeP2DSR, 2, 2}, IndicatorBit{&Controls::ShapeP2CTS, 2, 1},
    IndicatorBit{&Controls::ShapeP2DCD, 2, 0},
};
constexpr std::array kSlotEthernet{
    IndicatorBit{&Controls::ShapeELRX, 1, 3},
    IndicatorBit{&Controls::ShapeELTX, 1, 2},
    IndicatorBit{&Controls::ShapeECOLL, 1, 1},
    IndicatorBit{&Controls::ShapeELNK, 1, 0},
};
constexpr std::array kSlotE1{
    IndicatorBit{&Controls::ShapeLOF, 1, 0}, IndicatorBit{&Controls::ShapeLOS, 1, 1},
    IndicatorBit{&Controls::ShapeRA, 1, 2},  IndicatorBit{&Controls::ShapeAI, 1, 3},
    IndicatorBit{&Controls::ShapeLOT, 1, 4}, IndicatorBit{&Controls::ShapeE, 1, 5},
    IndicatorBit{&Controls::ShapeCRC, 1, 6}, IndicatorBit{&Controls::ShapeCV, 1, 7},
};
constexpr std::array kFirstGenerationPort2{
    IndicatorBit{&Controls::ShapeP2RTS, 6, 1}, IndicatorBit{&Controls::ShapeP2DTR, 6, 0},
    IndicatorBit{&Controls::ShapeP2DSR, 7, 7}, IndicatorBit{&Controls::ShapeP2CTS, 7, 6},
    IndicatorBit{&Controls::ShapeP2DCD, 7, 5},
};
constexpr std::array kFirstGenerationEthernet{
    IndicatorBit{&Controls::ShapeELRX, 7, 4},
    IndicatorBit{&Controls::ShapeELTX, 7, 3},
    IndicatorBit{&Controls::ShapeECOLL, 7, 2},
    IndicatorBit{&Controls::ShapeELNK, 7, 1},
};
// First-generation byte 7 bit 0: the Ethernet bits are not valid.
constexpr std::uint8_t kEthernetNotValid = 0x01;

void Colour(std::span<const IndicatorBit> bits, std::size_t base, std::span<const std::uint8_t> block,
            Controls& controls) {
  for (const IndicatorBit& b : bits) {
    const bool set = (ByteAt(block, base + b.offset) >> b.bit) & 1;
    (controls.*b.shape).SetBrushColor(set ? ui::colors::kGreen : ui::colors::kLime);
  }
}

struct Layout {
  bool port2;
  int port2Left;
  bool ethernet;
  bool e1;
  bool cableAndPortRate;
  bool speed;
};

constexpr int kLeft = Controls::kPanelLeft;
constexpr int kBesideE1 = Controls::kPanelLeftBesideE1;
constexpr Layout kNoPanels{false, kLeft, false, false, false, false};
constexpr Layout kPort2{true, kLeft, false, false, true, false};
constexpr Layout kEthernet{false, kLeft, true, false, false, true};

// By interface code 0-6.
constexpr std::array<Layout, 7> kLayouts{
    kNoPanels, kPort2, kEthernet, kEthernet, kPort2,
    Layout{false, kLeft, false, true, false, false},
    Layout{true, kBesideE1, false, true, true, false},
};

constexpr PanelLamp kPort2Lamps[] = {{&Controls::ShapeP2DTR, "DTR"},
                                     {&Controls::ShapeP2DSR, "DSR"},
                                     {&Controls::ShapeP2RTS, "RTS"},
                                     {&Controls::ShapeP2CTS, "CTS"},
                                     {&Controls::ShapeP2DCD, "DCD"}};
constexpr PanelLamp kEthernetLamps[] = {
    {&Controls::ShapeELNK, "Lnk"}, {&Controls::ShapeELRX, "LRx"}, {&Controls::ShapeELTX, "LTx"}, {&Controls::ShapeECOLL, "Coll"}};
constexpr PanelLamp kE1Lamps[] = {{&Controls::ShapeLOF, "LOF"}, {&Controls::ShapeLOS, "LOS"}, {&Controls::ShapeRA, "RA"},
                                  {&Controls::ShapeAI, "AI"},   {&Controls::ShapeLOT, "LOT"}, {&Controls::ShapeE, "E"},
                                  {&Controls::ShapeCRC, "CRC"}, {&Controls::ShapeCV, "CV"}};

}  // namespace

const std::array<SignalPanel, 3> kSignalPanels{{{&Controls::GroupBoxP2Nets, kPort2Lamps},
                                                {&Controls::GroupBoxEthernet, kEthernetLamps},
                                                {&Controls::GroupBoxE1, kE1Lamps}}};

bool LampOn(const ui::Shape& lamp) { return lamp.BrushColor() == ui::colors::kGreen; }

bool SlotValid(std::span<const std::uint8_t> block, Slot slot) {
  return slot != Slot::None && (ByteAt(block, SlotOffset(slot)) & 0x10) != 0;
}

Slot ChooseSlot(std::span<const std::uint8_t> block) {
  if (SlotValid(block, Slot::A)) return Slot::A;
  if (SlotValid(block, Slot::B)) return Slot::B;
  return Slot::None;
}

void ColourIndicators(std::span<const std::uint8_t> block, bool secondGeneration, Slot slot, int interfaceCode,
                      MainWindowControls& controls) {
  if (!secondGeneration) {
    if (interfaceCode == 1 || interfaceCode == 4) Colour(kFirstGenerationPort2, 0, block, controls);
    if (interfaceCode == 2 && !(ByteAt(block, 7) & kEthernetNotValid))
      Colour(kFirstGenerationEthernet, 0, block, controls);
    return;
  }
  if (slot == Slot::None) return;
  const std::size_t base = SlotOffset(slot);
  switch (interfaceCode) {
    case 1:
    case 4:
      Colour(kSlotPort2, base, block, controls);
      break;
    case 2:
    case 3:
      Colour(kSlotEthernet, base, block, controls);
      break;
    case 5:
      Colour(kSlotE1, base, block, controls);
      break;
    case 6:
      // E1 alarms from slot A, the port 2 circuits from the module in slot B.
      Colour(kSlotE1, kSlotA, block, controls);
      Colour(kSlotPort2, kSlotB, block, controls);
      break;
    default:
      break;
  }
}

void ApplyInterfaceLayout(int interfaceCode, MainWindowControls& controls) {
  const bool known = interfaceCode >= 0 && interfaceCode < static_cast<int>(kLayouts.size());
  const Layout& l = known ? kLayouts[interfaceCode] : kNoPanels;
  controls.GroupBoxP2Nets.SetLeft(l.port2Left);
  controls.GroupBoxP2Nets.SetVisible(l.port2);
  controls.GroupBoxEthernet.SetVisible(l.ethernet);
  controls.GroupBoxE1.SetVisible(l.e1);
  controls.LabelCable.SetVisible(l.cableAndPortRate);
  controls.StaticTextCable.SetVisible(l.cableAndPortRate);
  controls.LabelBitRatePx.SetVisible(l.cableAndPortRate);
  controls.StaticTextBitRatePx.SetVisible(l.cableAndPortRate);
  controls.LabelSpeed.SetVisible(l.speed);
  controls.StaticTextSpeed.SetVisible(l.speed);
}

void HidePanels(MainWindowControls& controls) {
  controls.GroupBoxP2Nets.SetLeft(Controls::kPanelLeft);
  controls.GroupBoxP2Nets.SetVisible(false);
  controls.GroupBoxEthernet.SetVisible(false);
  controls.GroupBoxE1.SetVisible(false);
}

}  // namespace rkvt
