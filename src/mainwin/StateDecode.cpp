#include <array>

#include "mainwin/BlockBytes.h"
#include "mainwin/Decode.h"
#include "mainwin/SignalPanels.h"
#include "mainwin/StateFields.h"

namespace rkvt {

namespace {

// Interface texts by interface code.
constexpr std::array<const char*, 7> kInterfaceText{
    "Unknown", "P2 Sync", "Eth QLD-ENX", "Eth QLD-ENX100", "P2 Async", "E1", "E1 + KSI",
};

// First generation: byte 9 bits 5-7 to interface code.
constexpr std::array<int, 8> kFirstGenerationInterface{1, 2, 4, 0, 0, 0, 0, 0};

// Second generation: a slot's bits 5-7. P2 and E1 need more of the page to
// tell their variants apart.
enum class SlotKind { Unknown, P2, Ethernet10, E1, Ethernet100 };
constexpr std::array<SlotKind, 8> kSlotKind{
    SlotKind::Unknown, SlotKind::P2,      SlotKind::Ethernet10, SlotKind::E1,
    SlotKind::Ethernet100, SlotKind::Unknown, SlotKind::Unknown,    SlotKind::Unknown,
};

// E1 with a port 2 module in slot B is only known from this level on.
constexpr std::int32_t kE1WithPort2Level = 11;

constexpr std::size_t kFirstGenerationActivity = 10;
constexpr std::size_t kSecondGenerationActivity = 22;

void ShowInterface(int code, std::span<const std::uint8_t> block, MainWindowControls& controls) {
  ui::StaticText& field = controls.StaticTextInterface;
  field.SetText(QLatin1String(kInterfaceText[code]));
  field.SetFontColor(code == 0 ? ui::colors::kWhite : ui::Color::WindowText());
  field.SetBackground(code == 0 ? ui::colors::kRed : ui::Color::ButtonFace());
  if (code == 2) controls.StaticTextSpeed.SetText(QStringLiteral("10 Mbit/s"));
  if (code == 3)
    controls.StaticTextSpeed.SetText(QLatin1String((ByteAt(block, 7) & 0x40) ? "100" : "10") +
                                     QStringLiteral(" Mbit/s"));
}

int SecondGenerationCode(std::span<const std::uint8_t> block, Slot slot, std::int32_t softwareLevel) {
  const std::size_t base = SlotOffset(slot);
  switch (kSlotKind[ByteAt(block, base) >> 5]) {
    case SlotKind::P2:
      return (ByteAt(block, base + 3) & 0x80) ? 4 : 1;
    case SlotKind::Ethernet10:
      return 2;
    case SlotKind::E1:
      return slot == Slot::A && SlotValid(block, Slot::B) && softwareLevel >= kE1WithPort2Level ? 6 : 5;
    case SlotKind::Ethernet100:
      return 3;
    case SlotKind::Unknown:
      break;
  }
  return 0;
}

}  // namespace

int DecodeInterface(std::span<const std::uint8_t> block, std::int32_t softwareLevel, int previousInterfaceCode,
                    MainWindowControls& controls) {
  if (!IsSecondGeneration(softwareLevel)) {
    const std::uint8_t byte9 = ByteAt(block, 9);
    const int code = kFirstGenerationInterface[byte9 >> 5];
    ShowInterface(code, block, controls);
    ShowCable(byte9 & 0x1F, controls);
    ColourIndicators(block, false, Slot::None, code, controls);
    return code;
  }
  const Slot slot = ChooseSlot(block);
  if (slot == Slot::None) return previousInterfaceCode;
  const int code = SecondGenerationCode(block, slot, softwareLevel);
  ShowInterface(code, block, controls);
  // With E1 + KSI the cable is on the port 2 module in slot B.
  const std::size_t cableByte = code == 6 ? kSlotB + 1 : SlotOffset(slot) + 1;
  ShowCable(ByteAt(block, cableByte) & 0x1F, controls);
  ColourIndicators(block, true, slot, code, controls);
  return code;
}

int DecodeState(std::span<std::uint8_t> block, std::int32_t softwareLevel, std::int32_t modemVariant,
                bool targetLocal, int previousInterfaceCode, MainWindowControls& controls) {
  const bool second = IsSecondGeneration(softwareLevel);
  const bool slotValid = !second || ChooseSlot(block) != Slot::None;
  const int code = DecodeInterface(block, softwareLevel, previousInterfaceCode, controls);
  ShowPortBitRate(block, softwareLevel, modemVariant, code, controls);
  ShowLineQuality(block, controls);
  ShowLineBitRate(block, softwareLevel, modemVariant, controls);
  if (slotValid) ApplyInterfaceLayout(code, controls);
  ShowStateText(block, second ? kSecondGenerationActivity : kFirstGenerationActivity, targetLocal, controls);
  return code;
}

}  // namespace rkvt
