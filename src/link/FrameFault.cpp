#include "link/FrameFault.h"

#include <array>

namespace rkvt {

namespace {

QString Hex(std::uint8_t byte) {
  return QStringLiteral("0x") + QString::number(byte, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

struct FaultRow {
  FaultKind kind;
  const char* text;  // %1: the reply, %2: the byte found, %3: the byte wanted
};

constexpr std::array kFaultTexts{
    FaultRow{FaultKind::None, "no fault"},
    FaultRow{FaultKind::NoReply, "no %1"},
    FaultRow{FaultKind::CutShort, "%1 cut short"},
    FaultRow{FaultKind::BadStart, "%1 without its start byte"},
    FaultRow{FaultKind::BadChecksum, "bad checksum in the %1"},
    FaultRow{FaultKind::WrongEcho, "%1 echoes code %2, not %3"},
    FaultRow{FaultKind::BadStatus, "%1 with status %2"},
    FaultRow{FaultKind::WrongAddress, "%1 from address %2, not %3"},
    FaultRow{FaultKind::WrongResponse, "%1 with response code %2, not %3"},
    FaultRow{FaultKind::WrongRepeat, "%1 repeats %2, not %3"},
    FaultRow{FaultKind::Stopped, "stopped"},
    FaultRow{FaultKind::PortError, "serial port error"},
};

constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < kFaultTexts.size(); ++i)
    if (static_cast<std::size_t>(kFaultTexts[i].kind) != i) return false;
  return kFaultTexts.size() == static_cast<std::size_t>(FaultKind::PortError) + 1;
}
static_assert(RowsInOrder(), "one text per fault kind, in order");

}  // namespace

QString FaultText(const FrameFault& fault) {
  const bool ack = fault.stage == FaultStage::Acknowledgement;
  QString text = QString::fromLatin1(kFaultTexts[static_cast<std::size_t>(fault.kind)].text);
  if (text.contains(QLatin1String("%1"))) {
    text = text.arg(ack ? QStringLiteral("acknowledgement") : QStringLiteral("answer"));
    if (text.contains(QLatin1String("%2"))) text = text.arg(Hex(fault.got));
    if (text.contains(QLatin1String("%3"))) text = text.arg(Hex(fault.wanted));
  }
  // The answer is read once; an acknowledgement up to three times.
  if (fault.kind == FaultKind::NoReply && !ack) text += QStringLiteral(" in time");
  if (ack && fault.attempts > 0 && fault.kind != FaultKind::Stopped && fault.kind != FaultKind::PortError)
    text += fault.attempts == 1 ? QStringLiteral(" after 1 attempt") : QStringLiteral(" after %1 attempts").arg(fault.attempts);
  return text;
}

}  // namespace rkvt
