#include "setup/ValueTables.h"

#include <algorithm>
#include <cstdlib>

namespace rkvt::setup {

namespace {

int NormalVariant(int variant) { return variant >= 0 && variant <= 9 ? variant : 0; }

template <int First, int Last>
constexpr auto HalfDbRange() {
  std::array<int, Last - First + 1> out{};
  for (int i = 0; i < static_cast<int>(out.size()); ++i) out[static_cast<std::size_t>(i)] = First + i;
  return out;
}

template <std::size_t... N>
constexpr auto Join(const std::array<int, N>&... parts) {
  std::array<int, (N + ...)> out{};
  std::size_t at = 0;
  ((std::copy(parts.begin(), parts.end(), out.begin() + static_cast<std::ptrdiff_t>(at)), at += N), ...);
  return out;
}

// -50 to -27.5, -9.5, -3 dB.
constexpr auto kFamilyA = Join(HalfDbRange<-100, -55>(), std::array{-19, -6});
// -46 to -37, -29 dB.
constexpr auto kFamilyB = Join(HalfDbRange<-92, -74>(), std::array{-58});
// -46 to -37, -27.5, -12 to -6 dB.
constexpr auto kFamilyC = Join(HalfDbRange<-92, -74>(), std::array{-55}, HalfDbRange<-24, -12>());
// -56 to -37 dB, from level 13 on to -6 dB.
constexpr auto kFamilyD = HalfDbRange<-112, -74>();
constexpr auto kFamilyDWide = HalfDbRange<-112, -12>();
// Level 1 keeps an index, not a code: its list is kLevelOneTransmit.

}  // namespace

RateTable LineRateTable(const ModemContext& ctx, int view) {
  const bool e1View = view == 5 || view == 6;
  if (ctx.level < level::kSecondLayout) return {"64", kRates64};
  if (ctx.level < level::kChannelRates) return view == 5 ? RateTable{"256", kRatesE1Low} : RateTable{"64", kRates64};
  switch (NormalVariant(ctx.variant)) {
    case 7: return {"16", kRatesV7};
    case 8: return ctx.level == level::kReceiverOption ? RateTable{"9.6", kRatesV8Level15} : RateTable{"9.6", kRatesV8};
    case 9: return {"12.0", kRatesV9};
    case 0: return e1View ? RateTable{"256", kRatesE1Low} : RateTable{"64", kRates64};
    default: return e1View ? RateTable{"512", kRatesE1High} : RateTable{"128", kRates128};
  }
}

bool FourIndexBits(const ModemContext& ctx) {
  return ctx.level >= level::kChannelRates && !IsRateModeVariant(ctx.variant);
}

std::span<const IndexText> StoreRateTable(const ModemContext& ctx) {
  if (ctx.level < level::kChannelRates) return kStoreRates;
  switch (ctx.variant) {
    case 7: return kStoreRatesV7;
    case 8: return kStoreRatesV8;
    case 9: return kStoreRatesV9;
    default: return kStoreRates;
  }
}

TextList CeilingList(int variant) {
  switch (variant) {
    case 7: return kCeilingV7;
    case 8: return kCeilingV8;
    case 9: return kCeilingV9;
    default: return {};
  }
}

bool RepeatersForm(const ModemContext& ctx) {
  const int v = ctx.variant;
  return ctx.level >= level::kChannelRates && ((v >= 3 && v <= 6) || v == 8 || v == 9);
}

TextList AspTypes(const ModemContext& ctx) {
  if (ctx.variant == 8) return kAspV8;
  if (ctx.variant == 9) return kAspV9;
  if (ctx.variant == 7 && ctx.level >= level::kPln3k) return kAspV7;
  return {};
}

TransmitFamily FamilyOf(const ModemContext& ctx) {
  if (ctx.level <= level::kFirst) return TransmitFamily::Level1;
  if (ctx.level < level::kChannelRates) return TransmitFamily::A;
  switch (NormalVariant(ctx.variant)) {
    case 0: return TransmitFamily::A;
    case 3:
    case 4: return TransmitFamily::C;
    case 7:
    case 8:
    case 9: return TransmitFamily::D;
    default: return TransmitFamily::B;
  }
}

std::span<const int> FamilyHalfDb(const ModemContext& ctx) {
  switch (FamilyOf(ctx)) {
    case TransmitFamily::A: return kFamilyA;
    case TransmitFamily::B: return kFamilyB;
    case TransmitFamily::C: return kFamilyC;
    case TransmitFamily::D: return ctx.level >= level::kPln3k ? std::span<const int>(kFamilyDWide) : kFamilyD;
    case TransmitFamily::Level1: break;
  }
  return {};
}

QString HalfDbText(int halfDb) {
  const int magnitude = std::abs(halfDb);
  QString text = halfDb < 0 ? QStringLiteral("-") : QString();
  text += QString::number(magnitude / 2);
  if (magnitude % 2 != 0) text += QStringLiteral(".5");
  return text;
}

QString DecodeTransmitCode(const ModemContext& ctx, int code) {
  const QString formula = HalfDbText(code - 160);
  switch (FamilyOf(ctx)) {
    case TransmitFamily::Level1:
    case TransmitFamily::A:
      if (code < 60) return QStringLiteral("-50");
      if (code <= 104) return formula;
      if (code <= 122) return QStringLiteral("-27.5");
      if (code <= 147) return QStringLiteral("-9.5");
      return QStringLiteral("-3");
    case TransmitFamily::B:
      if (code < 68) return QStringLiteral("-46");
      if (code <= 86) return formula;
      return QStringLiteral("-29");
    case TransmitFamily::C:
      if (code < 68) return QStringLiteral("-46");
      if (code <= 85) return formula;
      if (code <= 104) return QStringLiteral("-37");
      if (code == 105) return QStringLiteral("-27.5");
      if (code <= 135) return QStringLiteral("-12");
      if (code <= 147) return formula;
      return QStringLiteral("-6");
    case TransmitFamily::D:
      if (code < 48) return QStringLiteral("-56");
      if (code <= 86) return formula;
      if (code == 105 || ctx.level < level::kPln3k) return QStringLiteral("-27.5");
      if (code <= 148) return formula;
      return QString();
  }
  return QString();
}

const TimeSlotRow* FindTimeSlotRow(int e1Mode, QStringView rateText) {
  for (const TimeSlotRow& row : kTimeSlotRows)
    if (row.mode == e1Mode && rateText == Text(row.rate)) return &row;
  return nullptr;
}

TimeSlotForm TimeSlotFormOf(const ModemContext& ctx, QStringView e1TsNumberText) {
  if (ctx.variant == 8 || ctx.variant == 9) return TimeSlotForm::OneSlot;
  if (ctx.variant == 7) {
    if (ctx.level < level::kPln3k) return TimeSlotForm::None;
    return e1TsNumberText == QLatin1String("1") ? TimeSlotForm::OneSlot : TimeSlotForm::TwoSlots;
  }
  const bool groups = ctx.level == level::kMultiplexer ||
                      (ctx.level >= level::kWideMultiplexer && ctx.level < level::kPln3k);
  return groups ? TimeSlotForm::Groups : TimeSlotForm::None;
}

QString OneSlotText(int t) { return QString::number(t <= 30 ? t + 1 : 1); }

QString TwoSlotText(int t) {
  if (t % 2 == 1 && t >= 3 && t <= 29) return QStringLiteral("%1, %2").arg(t + 1).arg(t + 2);
  return QStringLiteral("2, 3");
}

QString Text(std::string_view latin1) {
  return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

QStringList Texts(TextList list) {
  QStringList out;
  out.reserve(static_cast<qsizetype>(list.size()));
  for (std::string_view t : list) out.append(Text(t));
  return out;
}

int IndexOf(TextList list, QStringView text) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (text == QLatin1String(list[i].data(), static_cast<qsizetype>(list[i].size()))) return static_cast<int>(i);
  return -1;
}

}  // namespace rkvt::setup
