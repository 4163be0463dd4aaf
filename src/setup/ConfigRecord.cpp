#include "setup/ConfigRecord.h"

#include <algorithm>

namespace rkvt::setup {

namespace {

using Bytes = RecordBytes;
using Decoded = std::optional<QString>;

int Bits(std::uint8_t value, int low, int count) { return (value >> low) & ((1 << count) - 1); }
void Put(std::uint8_t& value, int low, int count, int field) {
  const int mask = ((1 << count) - 1) << low;
  value = static_cast<std::uint8_t>((value & ~mask) | ((field << low) & mask));
}
QString Pick(bool set, const char* off, const char* on) { return QLatin1String(set ? on : off); }

// One- and two-valued bits share this: value texts for 0 and 1.
struct BitField {
  std::size_t byte;
  int bit;
  const char* zero;
  const char* one;
};

constexpr std::string_view kInterfaceNames[] = {"P2 Sync", "Ethernet", "P2 Async", "E1", "E1 + KSI"};

int RateIndex(const ConfigRecord& r) {
  const std::uint8_t b = r.Working()[1];
  return FourIndexBits(r.Context()) ? (b & 0x0F) : (b & 0x07);
}

// Decoders, one per key, from the working copy.
Decoded DecodeInterface(const ConfigRecord& r) { return ViewText(r.ViewOf(r.Working()[11] & 7)); }
Decoded DecodeBitRate(const ConfigRecord& r) {
  return Text(LineRateTable(r.Context(), r.InterfaceView()).TextOf(RateIndex(r)));
}
Decoded DecodeRateMode(const ConfigRecord& r) { return Pick(r.Working()[0] & 0x80, "Auto", "Manual"); }
Decoded DecodeConnection(const ConfigRecord& r) { return Pick(r.Working()[0] & 0x80, "Long", "Short"); }
Decoded DecodeCeiling(const ConfigRecord& r) {
  const TextList list = CeilingList(r.Context().variant);
  if (list.empty()) return std::nullopt;
  const int v = Bits(r.Working()[1], 4, 3);
  return Text(v >= 2 && v <= 4 ? list[static_cast<std::size_t>(v - 2)] : list[0]);
}
Decoded DecodeTransmitLevel(const ConfigRecord& r) {
  if (FamilyOf(r.Context()) == TransmitFamily::Level1) {
    const int i = Bits(r.Working()[1], 3, 4);
    return i < 10 ? Text(kLevelOneTransmit[static_cast<std::size_t>(i)]) : QStringLiteral("-42");
  }
  return DecodeTransmitCode(r.Context(), r.Working()[15]);
}
Decoded DecodeAspType(const ConfigRecord& r) {
  const TextList list = AspTypes(r.Context());
  if (list.empty()) return std::nullopt;
  const auto i = static_cast<std::size_t>(r.Working()[14] & 0x0F);
  return Text(i < list.size() ? list[i] : list[0]);
}
Decoded DecodeMsDefault(const ConfigRecord& r) { return Pick(r.Working()[14] & 0x10, "Master", "Slave"); }
Decoded DecodeTransitions(const ConfigRecord& r) {
  const int n = (r.Working()[0] & 3) * 2 + (r.Working()[1] >> 7);
  const TextList list = RepeatersForm(r.Context()) ? TextList(kRepeaters) : TextList(kTransitions);
  return Text(n < 4 ? list[static_cast<std::size_t>(n)] : list[0]);
}
Decoded DecodeChannels(const ConfigRecord& r) {
  if (r.Context().variant != 7 || r.Context().level >= level::kPln3k) return std::nullopt;
  const int k = r.Working()[14] & 0x0F;
  return Text(kChannels[k < 10 ? static_cast<std::size_t>(k) : 0]);
}
Decoded DecodeInterleaver(const ConfigRecord& r) {
  return Text(kInterleaver[static_cast<std::size_t>(Bits(r.Working()[0], 5, 2))]);
}
Decoded DecodeClockFreq(const ConfigRecord& r) {
  switch (Bits(r.Working()[2], 3, 2)) {
    case 2: return QStringLiteral("64");
    case 3:
      return r.Context().variant == 7 && r.Context().level >= level::kPln3k ? QStringLiteral("128") : QString();
    default: return QStringLiteral("As Bit Rate");
  }
}
Decoded DecodeClockMode(const ConfigRecord& r) {
  const int m = Bits(r.Working()[3], 3, 3);
  return Text(kClockModes[m < 3 ? static_cast<std::size_t>(m) : 0]);
}
Decoded DecodeAsyncRate(const ConfigRecord& r) {
  const int m = r.Working()[5] & 3;
  return Text(kAsyncRates[m < 3 ? static_cast<std::size_t>(m) : 0]);
}
Decoded DecodeJitter(const ConfigRecord& r) {
  return Text(kJitterDecode[static_cast<std::size_t>(Bits(r.Working()[7], 6, 2))]);
}
Decoded DecodeTimeSlotMap(const ConfigRecord& r) {
  const std::uint8_t b6 = r.Working()[6];
  switch (TimeSlotFormOf(r.Context(), r.Decode(Key::E1TSNumber).value_or(QString()))) {
    case TimeSlotForm::None: return std::nullopt;
    case TimeSlotForm::OneSlot: return OneSlotText(b6 >> 3);
    case TimeSlotForm::TwoSlots: return TwoSlotText(b6 >> 3);
    case TimeSlotForm::Groups: break;
  }
  const int mode = (r.Working()[7] & 0x04) != 0 ? 2 : 1;
  const TimeSlotRow* row = FindTimeSlotRow(mode, r.Decode(Key::MBitRate).value_or(QString()));
  if (row == nullptr) return QString();
  const int g = Bits(b6, 4, 2);
  if (row->count == 2) return Text(row->entries[g == 1 ? 1 : 0]);
  return Text(row->entries[static_cast<std::size_t>(g)]);
}
Decoded DecodeTimeSlotSignalling(const ConfigRecord& r) {
  return Text(kTimeSlotSignalling[static_cast<std::size_t>(r.Working()[6] >> 6)]);
}

template <const char* Fixed>
Decoded DecodeFixed(const ConfigRecord&) {
  return QLatin1String(Fixed);
}

constexpr char kEight[] = "8";
constexpr char kOne[] = "1";
constexpr char kNone[] = "None";
constexpr char kRtsCts[] = "RTS/CTS";

// Encoders of the choice keys; each returns whether it knew the text.
bool EncodeInterface(ConfigRecord& r, QStringView text) {
  const int i = IndexOf(kInterfaceNames, text);
  // The first generation has no E1 module.
  const int known = r.Context().level < level::kSecondLayout ? 3 : 5;
  if (i < 0 || i >= known) return false;
  r.Working()[11] = static_cast<std::uint8_t>(i);
  return true;
}
bool EncodeBitRate(ConfigRecord& r, QStringView text) {
  for (const IndexText& e : StoreRateTable(r.Context())) {
    if (text != Text(e.text)) continue;
    Put(r.Working()[1], 0, FourIndexBits(r.Context()) ? 4 : 3, e.index);
    return true;
  }
  return false;
}
bool EncodeCeiling(ConfigRecord& r, QStringView text) {
  const int i = IndexOf(CeilingList(r.Context().variant), text);
  if (i < 0) return false;
  Put(r.Working()[1], 4, 3, i + 2);
  return true;
}
bool EncodeTransmitLevel(ConfigRecord& r, QStringView text) {
  if (FamilyOf(r.Context()) == TransmitFamily::Level1) {
    const int i = IndexOf(kLevelOneTransmit, text);
    if (i < 0) return false;
    Put(r.Working()[1], 3, 4, i);
    return true;
  }
  for (int halfDb : FamilyHalfDb(r.Context())) {
    if (HalfDbText(halfDb) != text) continue;
    r.Working()[15] = static_cast<std::uint8_t>(160 + halfDb);
    return true;
  }
  return false;
}
bool EncodeAspType(ConfigRecord& r, QStringView text) {
  const int i = IndexOf(AspTypes(r.Context()), text);
  if (i < 0) return false;
  Put(r.Working()[14], 0, 4, i);  // the single AVC of variant 9 stores 0 as well
  return true;
}
bool EncodeTransitions(ConfigRecord& r, QStringView text) {
  const int k = IndexOf(RepeatersForm(r.Context()) ? TextList(kRepeaters) : TextList(kTransitions), text);
  if (k < 0) return false;
  Put(r.Working()[0], 0, 2, k >> 1);
  Put(r.Working()[1], 7, 1, k & 1);
  return true;
}
bool EncodeChannels(ConfigRecord& r, QStringView text) {
  const int k = IndexOf(kChannels, text);
  if (k < 0) return false;
  r.Working()[14] = static_cast<std::uint8_t>(k);  // the whole byte, M/S default included
  return true;
}
bool EncodeInterleaver(ConfigRecord& r, QStringView text) {
  const int k = IndexOf(kInterleaver, text);
  if (k >= 0) Put(r.Working()[0], 5, 2, k);
  return k >= 0;
}
// A ceiling above 48 and a line rate index above 2 do not fit a 64 kHz clock.
void CapForClock64(Bytes& w) {
  Put(w[1], 4, 3, 2);
  if ((w[1] & 7) >= 3) Put(w[1], 0, 3, 2);
}
bool EncodeClockFreq(ConfigRecord& r, QStringView text) {
  Bytes& w = r.Working();
  if (text == QLatin1String("As Bit Rate")) {
    Put(w[2], 3, 2, 0);
  } else if (text == QLatin1String("64")) {
    Put(w[2], 3, 2, 2);
    if (r.Context().variant == 7) CapForClock64(w);
  } else if (text == QLatin1String("128")) {
    if (r.Context().variant == 7 && r.Context().level >= level::kPln3k) Put(w[2], 3, 2, 3);
  } else {
    return false;
  }
  return true;
}
bool EncodeClockMode(ConfigRecord& r, QStringView text) {
  const int k = IndexOf(kClockModes, text);
  if (k >= 0) Put(r.Working()[3], 3, 3, k);
  return k >= 0;
}
bool EncodeAsyncRate(ConfigRecord& r, QStringView text) {
  const int k = IndexOf(kAsyncRates, text);
  if (k >= 0) Put(r.Working()[5], 0, 2, k);
  return k >= 0;
}
bool EncodeJitter(ConfigRecord& r, QStringView text) {
  const int k = IndexOf(kJitterDecode, text);  // the first "Disabled" is 1
  if (k >= 0) Put(r.Working()[7], 6, 2, k);
  return k >= 0;
}
bool EncodeTimeSlotMap(ConfigRecord& r, QStringView text) {
  Bytes& w = r.Working();
  const TimeSlotForm form = TimeSlotFormOf(r.Context(), r.Decode(Key::E1TSNumber).value_or(QString()));
  if (form == TimeSlotForm::Groups) {
    const TimeSlotRow* row = FindTimeSlotRow((w[7] & 0x04) != 0 ? 2 : 1, r.Decode(Key::MBitRate).value_or(QString()));
    const int g = row ? IndexOf(std::span(row->entries).first(static_cast<std::size_t>(row->count)), text) : -1;
    if (g >= 0) Put(w[6], 4, 2, g);
    return g >= 0;
  }
  for (int t = 0; t <= 30; ++t) {
    const bool match = form == TimeSlotForm::OneSlot ? OneSlotText(t) == text
                       : form == TimeSlotForm::TwoSlots ? (t % 2 == 1 && TwoSlotText(t) == text)
                                                        : false;
    if (!match) continue;
    Put(w[6], 3, 5, t);
    return true;
  }
  return false;
}
bool EncodeTimeSlotSignalling(ConfigRecord& r, QStringView text) {
  const int k = IndexOf(kTimeSlotSignalling, text);
  if (k >= 0) Put(r.Working()[6], 6, 2, k);
  return k >= 0;
}

struct Codec {
  Key key;
  Decoded (*decode)(const ConfigRecord&);
  bool (*encode)(ConfigRecord&, QStringView);
  BitField bit{};  // the decode of a one-bit field, when decode is nullptr
};

using K = Key;
constexpr std::array<Codec, kKeyCount> kCodecs{{
    {K::Interface, DecodeInterface, EncodeInterface},
    {K::MBitRate, DecodeBitRate, EncodeBitRate},
    {K::MRateMode, DecodeRateMode, nullptr},
    {K::MBitRateUpTo, DecodeCeiling, EncodeCeiling},
    {K::MTransmitLevel, DecodeTransmitLevel, EncodeTransmitLevel},
    {K::MAspType, DecodeAspType, EncodeAspType},
    {K::MMSDefault, DecodeMsDefault, nullptr},
    {K::MTransitions, DecodeTransitions, EncodeTransitions},
    {K::MConnection, DecodeConnection, nullptr},
    {K::MChannels, DecodeChannels, EncodeChannels},
    {K::LLC, nullptr, nullptr, {11, 7, "Disabled", "Enabled"}},
    {K::CarrierShift, nullptr, nullptr, {11, 3, "Standart", "Extended"}},
    {K::Interleaver, DecodeInterleaver, EncodeInterleaver},
    {K::MClockFreq, DecodeClockFreq, EncodeClockFreq},
    {K::SClockMode, DecodeClockMode, EncodeClockMode},
    {K::EDuplex, nullptr, nullptr, {9, 3, "Enabled", "Disabled"}},
    {K::EFilter, nullptr, nullptr, {9, 4, "Enabled", "Disabled"}},
    {K::ECompression, nullptr, nullptr, {9, 5, "Enabled", "Disabled"}},
    {K::ESpeed, nullptr, nullptr, {9, 6, "10", "100"}},
    {K::ABitRate, DecodeAsyncRate, EncodeAsyncRate},
    {K::ADataBits, DecodeFixed<kEight>, nullptr},
    {K::AStopBits, DecodeFixed<kOne>, nullptr},
    {K::AParity, DecodeFixed<kNone>, nullptr},
    {K::AFlowControl, DecodeFixed<kRtsCts>, nullptr},
    // The port 2 management rows keep the texts they were added with.
    {K::DCDManagement, nullptr, nullptr},
    {K::CTSManagement, nullptr, nullptr},
    {K::DSRManagement, nullptr, nullptr},
    {K::DTRSensibility, nullptr, nullptr},
    {K::E1Mode, nullptr, nullptr, {7, 2, "1", "2"}},
    {K::E1TSMap, DecodeTimeSlotMap, EncodeTimeSlotMap},
    {K::E1TSSig, DecodeTimeSlotSignalling, EncodeTimeSlotSignalling},
    {K::E1TSNumber, nullptr, nullptr, {7, 0, "1", "2"}},
    {K::E1Crc4, nullptr, nullptr, {7, 4, "Disabled", "Enabled"}},
    {K::E1JittAtt, DecodeJitter, EncodeJitter},
    {K::E1JittAttDepth, nullptr, nullptr, {7, 5, "128", "32"}},
    {K::E1RCGain, nullptr, nullptr, {6, 0, "-12", "-43"}},
    {K::E1AIS, nullptr, nullptr, {6, 1, "Disabled", "Enabled"}},
    {K::E1RAI, nullptr, nullptr, {6, 2, "Disabled", "Enabled"}},
    {K::E1Sig, nullptr, nullptr, {6, 3, "CAS", "CCS"}},
}};

constexpr bool CodecsComplete() {
  for (std::size_t i = 0; i < kCodecs.size(); ++i) {
    const Codec& c = kCodecs[i];
    if (Index(c.key) != i) return false;
    const KeyKind kind = kKeySpecs[i].kind;
    // Choice keys store what is chosen; only display rows may lack a decode.
    const bool choice = kind == KeyKind::Choice || kind == KeyKind::Composed;
    if (choice != (c.encode != nullptr)) return false;
    if (c.decode == nullptr && c.bit.zero == nullptr && kind != KeyKind::Display) return false;
  }
  return true;
}

}  // namespace

void ConfigRecord::TakeIn(std::span<const std::uint8_t> bytes) {
  received_.fill(0);
  std::copy_n(bytes.begin(), std::min(bytes.size(), kRecordSize), received_.begin());
  working_ = received_;
  std::copy_n(received_.begin() + byte::kExitPayload, payload_.size(), payload_.begin());

  if (context_.level >= level::kSecondLayout) {
    modules_ = {};
    for (const int code : {Bits(received_[byte::kModuleSlots], 5, 3), Bits(received_[byte::kModuleSlots], 1, 3)}) {
      if (code == 2) modules_.qldEnx = true;
      if (code == 3) modules_.e1 = true;
      if (code == 4) modules_.qldEnx100 = true;
    }
  } else {
    // The first generation reports only the QLD-ENX module; the other flags stay.
    modules_.qldEnx = (received_[byte::kOldModules] & 1) == 0;
  }
  avcPermitted_ = !(context_.level >= level::kAvcCheck && received_[byte::kAvc] != 1);
  view_ = ViewOf(received_[11] & 7);
}

int ConfigRecord::ViewOf(int field) const {
  const bool second = context_.level >= level::kSecondLayout;
  switch (field) {
    case 1:
      if (modules_.qldEnx) return view::kEthernet;
      if (second && modules_.qldEnx100) return view::kEthernet100;
      return view::kP2Sync;
    case 2: return view::kP2Async;
    case 3: return second ? view::kE1 : view::kP2Sync;
    case 4: return second ? view::kE1Ksi : view::kP2Sync;
    default: return view::kP2Sync;
  }
}

std::optional<QString> ConfigRecord::Decode(Key key) const {
  static_assert(CodecsComplete(), "every key has its decode, and every choice key its encode");
  const Codec& c = kCodecs[Index(key)];
  if (c.decode != nullptr) return c.decode(*this);
  if (c.bit.zero != nullptr) return Pick((working_[c.bit.byte] >> c.bit.bit) & 1, c.bit.zero, c.bit.one);
  return std::nullopt;
}

bool ConfigRecord::Encode(Key key, QStringView text) {
  const Codec& c = kCodecs[Index(key)];
  return c.encode != nullptr && c.encode(*this, text);
}

QString ViewText(int v) {
  switch (v) {
    case view::kEthernet:
    case view::kEthernet100: return QStringLiteral("Ethernet");
    case view::kP2Async: return QStringLiteral("P2 Async");
    case view::kE1: return QStringLiteral("E1");
    case view::kE1Ksi: return QStringLiteral("E1 + KSI");
    default: return QStringLiteral("P2 Sync");
  }
}

}  // namespace rkvt::setup
