#include "sim/ModemState.h"

#include <algorithm>

namespace rkvt::sim {

namespace {

std::uint8_t Bit(bool on, int bit) { return on ? static_cast<std::uint8_t>(1u << bit) : 0; }

// Positions inside a page block: record byte n is block byte n - 4.
constexpr std::size_t At(std::size_t recordByte) { return recordByte - 4; }

std::uint8_t FirstLayoutByte7(const ModemState& s) {
  const EthernetIndicators& e = s.ethernet;
  return Bit(s.circuits.dsr, 7) | Bit(s.circuits.cts, 6) | Bit(s.circuits.dcd, 5) | Bit(e.rx, 4) |
         Bit(e.tx, 3) | Bit(e.collision, 2) | Bit(e.link, 1) | Bit(!e.valid, 0);
}

std::uint8_t SlotSecondByte(const InterfaceSlot& slot, bool isSlotA) {
  switch (slot.interface) {
    case slot_interface::kEthernet10:
    case slot_interface::kEthernet100: {
      const EthernetIndicators& e = slot.ethernet;
      return Bit(isSlotA && e.speed100, 6) | Bit(e.rx, 3) | Bit(e.tx, 2) | Bit(e.collision, 1) | Bit(e.link, 0);
    }
    case slot_interface::kE1: return slot.e1Alarms;
    default: return slot.cable & 0x1F;
  }
}

void PutSlot(PageBlock& block, std::size_t recordByte, const InterfaceSlot& slot, bool isSlotA) {
  const std::size_t i = At(recordByte);
  block[i] = static_cast<std::uint8_t>(Bit(slot.valid, 4) | ((slot.interface & 0x07) << 5));
  block[i + 1] = SlotSecondByte(slot, isSlotA);
  const PortCircuits& c = slot.circuits;
  block[i + 2] = Bit(c.rts, 4) | Bit(c.dtr, 3) | Bit(c.dsr, 2) | Bit(c.cts, 1) | Bit(c.dcd, 0);
  block[i + 3] = static_cast<std::uint8_t>((slot.syncRate & 0x0F) | ((slot.asyncRate & 0x03) << 4) |
                                           Bit(slot.async, 7));
}

void PutActivity(PageBlock& block, std::size_t recordByte, const ActivityRecord& activity) {
  std::copy(activity.begin(), activity.end(), block.begin() + static_cast<std::ptrdiff_t>(At(recordByte)));
}

}  // namespace

std::uint8_t LineConditionByte(const ModemState& s) {
  return Bit(s.line.freqShiftTooHigh, 4) | Bit(s.line.levelTooLow, 3) | Bit(s.line.levelTooHigh, 2);
}

std::uint8_t QualityRateByte(const ModemState& s, PageLayout layout) {
  if (layout == PageLayout::First)
    return static_cast<std::uint8_t>((s.quality & 0x07) | ((s.lineRate & 0x07) << 3) | ((s.asyncRate & 0x03) << 6));
  return static_cast<std::uint8_t>((s.quality & 0x07) | ((s.lineRate & 0x0F) << 3));
}

PageBlock StateBlock(const ModemState& s, PageLayout layout, const ActivityRecord& activity) {
  PageBlock block{};
  block[At(4)] = LineConditionByte(s);
  block[At(5)] = QualityRateByte(s, layout);
  if (layout == PageLayout::First) {
    block[At(6)] = Bit(s.circuits.rts, 1) | Bit(s.circuits.dtr, 0);
    block[At(7)] = FirstLayoutByte7(s);
    block[At(9)] = static_cast<std::uint8_t>(((s.interface & 0x07) << 5) | (s.cable & 0x1F));
    PutActivity(block, 10, activity);
    return block;
  }
  PutSlot(block, 6, s.slotA, true);
  PutSlot(block, 10, s.slotB, false);
  // The speed bit is read from byte 7 even when slot B carries the Ethernet.
  const bool bEthernet = s.slotB.interface == slot_interface::kEthernet10 ||
                         s.slotB.interface == slot_interface::kEthernet100;
  if (bEthernet && s.slotB.ethernet.speed100) block[At(7)] |= 0x40;
  PutActivity(block, 22, activity);
  return block;
}

}  // namespace rkvt::sim
