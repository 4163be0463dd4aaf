#include "setup/Rules.h"

#include <algorithm>

namespace rkvt::setup {

namespace {

// Manual rate with one E1 time slot, or on P2 Sync with a 64 kHz clock, keeps
// the line rate index at 2 or below.
void CapRateForManual(RecordBytes& w) {
  const int field = w[11] & 7;
  const bool capped = (field == 3 && (w[7] & 0x01) == 0) || (field == 0 && ((w[2] >> 3) & 3) == 2);
  if (capped && (w[1] & 7) >= 3) w[1] = static_cast<std::uint8_t>((w[1] & ~7) | 2);
}

void TwoTimeSlots(RecordBytes& w) { w[6] = static_cast<std::uint8_t>((w[6] & 0x07) | (1 << 3)); }

// Back to one slot: ceiling 48, line rate index 2 at most, time slot 1.
void OneTimeSlot(RecordBytes& w) {
  w[1] = static_cast<std::uint8_t>((w[1] & ~0x70) | (2 << 4));
  if ((w[1] & 7) >= 3) w[1] = static_cast<std::uint8_t>((w[1] & ~7) | 2);
  w[6] &= 0x07;
}

struct FlipRule {
  Key key;
  FlipTexts texts;
  std::size_t byte;
  std::uint8_t bit;
  std::uint8_t clearAlways = 0;  // cleared by either click
  std::uint8_t clearOff = 0;     // cleared with the bit
  void (*onExtra)(RecordBytes&) = nullptr;
  void (*offExtra)(RecordBytes&) = nullptr;
};

constexpr std::array kFlips{
    FlipRule{Key::MRateMode, {"Auto", "Manual"}, 0, 0x80, 0, 0, CapRateForManual},
    FlipRule{Key::MMSDefault, {"Master", "Slave"}, 14, 0x10},
    FlipRule{Key::MConnection, {"Long", "Short"}, 0, 0x80},
    FlipRule{Key::LLC, {"Disabled", "Enabled"}, 11, 0x80},
    FlipRule{Key::CarrierShift, {"Standart", "Extended"}, 11, 0x08},
    FlipRule{Key::EDuplex, {"Enabled", "Disabled"}, 9, 0x08},
    FlipRule{Key::EFilter, {"Enabled", "Disabled"}, 9, 0x10},
    FlipRule{Key::ECompression, {"Enabled", "Disabled"}, 9, 0x20},
    FlipRule{Key::ESpeed, {"10", "100"}, 9, 0x40},
    FlipRule{Key::E1Mode, {"1", "2"}, 7, 0x04, 0x08},
    FlipRule{Key::E1TSNumber, {"1", "2"}, 7, 0x01, 0, 0, TwoTimeSlots, OneTimeSlot},
    FlipRule{Key::E1Crc4, {"Disabled", "Enabled"}, 7, 0x10},
    FlipRule{Key::E1JittAttDepth, {"128", "32"}, 7, 0x20},
    FlipRule{Key::E1RCGain, {"-12", "-43"}, 6, 0x01},
    FlipRule{Key::E1AIS, {"Disabled", "Enabled"}, 6, 0x02},
    FlipRule{Key::E1RAI, {"Disabled", "Enabled"}, 6, 0x04},
    // Back to CAS also puts the time-slot signalling back to 16.
    FlipRule{Key::E1Sig, {"CAS", "CCS"}, 6, 0x08, 0, 0xC0},
};

constexpr bool FlipsComplete() {
  std::size_t flipKeys = 0;
  for (const KeySpec& spec : kKeySpecs) {
    if (spec.kind != KeyKind::Flip) continue;
    ++flipKeys;
    if (std::count_if(kFlips.begin(), kFlips.end(), [&](const FlipRule& f) { return f.key == spec.key; }) != 1)
      return false;
  }
  return flipKeys == kFlips.size();
}
static_assert(FlipsComplete(), "exactly one flip rule for every flip key");

const FlipRule* FindFlip(Key key) {
  const auto it = std::find_if(kFlips.begin(), kFlips.end(), [key](const FlipRule& f) { return f.key == key; });
  return it == kFlips.end() ? nullptr : &*it;
}

// Whether the present bit rate text lets E1 be chosen.
bool RateFitsE1(const ModemContext& c, QStringView rate) {
  const auto either = [rate](const char* a, const char* b) {
    return rate == QLatin1String(a) || rate == QLatin1String(b);
  };
  if (c.level == level::kMultiplexer) return either("256", "320");
  if (c.level >= level::kWideMultiplexer) return c.variant == 0 ? either("256", "320") : either("512", "640");
  return false;
}

}  // namespace

bool IsNotice(QStringView text) {
  return text == Text(kNoticeNoEthernet) || text == Text(kNoticeNoE1) || text == Text(kNoticeChangeBitRate);
}

QStringList InterfaceChoices(const ConfigRecord& record, const ParamList& list) {
  const ModemContext& c = record.Context();
  const ModuleFlags& m = record.Modules();
  QStringList out{QStringLiteral("P2 Sync")};
  const bool ethernet = c.level < level::kSecondLayout ? m.qldEnx : (m.qldEnx || m.qldEnx100);
  out.append(ethernet ? QStringLiteral("Ethernet") : Text(kNoticeNoEthernet));
  if (c.level < level::kPln3k && c.variant != 7) out.append(QStringLiteral("P2 Async"));
  if (c.level >= level::kSecondLayout && c.level < level::kPln3k && c.variant != 7) {
    if (!m.e1) {
      out.append(Text(kNoticeNoE1));
    } else if (RateFitsE1(c, list.Value(QStringLiteral("MBitRate")).value_or(QString()))) {
      out.append(QStringLiteral("E1"));
      if (c.level >= level::kKsi) out.append(QStringLiteral("E1 + KSI"));
    } else {
      out.append(Text(kNoticeChangeBitRate));
    }
  }
  if (c.level >= level::kPln3k) out.append(m.e1 ? QStringLiteral("E1") : Text(kNoticeNoE1));
  return out;
}

std::optional<FlipTexts> FlipTextsOf(Key key) {
  const FlipRule* rule = FindFlip(key);
  if (rule == nullptr) return std::nullopt;
  return rule->texts;
}

bool Flip(Key key, ConfigRecord& record, ParamList& list) {
  const FlipRule* rule = FindFlip(key);
  const QString name = Text(KeyName(key));
  const auto shown = list.Value(name);
  if (rule == nullptr || !shown) return false;
  RecordBytes& w = record.Working();
  std::uint8_t& b = w[rule->byte];
  const bool on = *shown == Text(rule->texts.off);
  b = static_cast<std::uint8_t>(b & ~rule->clearAlways);
  if (on) {
    b |= rule->bit;
    if (rule->onExtra) rule->onExtra(w);
  } else {
    b = static_cast<std::uint8_t>(b & ~(rule->bit | rule->clearOff));
    if (rule->offExtra) rule->offExtra(w);
  }
  list.SetValue(name, Text(on ? rule->texts.on : rule->texts.off));
  return true;
}

void Choose(Key key, QStringView text, ConfigRecord& record, ParamList& list) {
  const KeyKind kind = KindOf(key);
  if (kind != KeyKind::Choice && kind != KeyKind::Composed) return;
  const QString name = Text(KeyName(key));
  const auto previous = list.Value(name);
  if (!previous) return;
  list.SetValue(name, text);
  record.Encode(key, text);
  if (key == Key::Interface && IsNotice(text)) list.SetValue(name, *previous);
}

}  // namespace rkvt::setup
