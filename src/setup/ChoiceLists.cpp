#include "setup/ChoiceLists.h"

#include "setup/Rules.h"

namespace rkvt::setup {

namespace {

struct Ask {
  const ConfigRecord& r;
  const ParamList& list;
  const ModemContext& c;
  QString Shown(const char* key) const { return list.Value(QString::fromLatin1(key)).value_or(QString()); }
  bool E1View() const { return r.InterfaceView() == view::kE1 || r.InterfaceView() == view::kE1Ksi; }
};

QStringList L(std::initializer_list<const char*> texts) {
  QStringList out;
  for (const char* t : texts) out.append(QLatin1String(t));
  return out;
}

// The bit rate list and its help text follow the same cases.
enum class RateList { Low, E1Low, Channel, E1Channel, V7, V8, V8Level15, V9 };
RateList RateListOf(const Ask& a) {
  const bool e1 = a.E1View();
  if (a.c.level < level::kSecondLayout) return RateList::Low;
  if (a.c.level < level::kChannelRates) return a.r.InterfaceView() == view::kE1 ? RateList::E1Low : RateList::Low;
  switch (a.c.variant) {
    case 7: return RateList::V7;
    case 8: return a.c.level == level::kReceiverOption ? RateList::V8Level15 : RateList::V8;
    case 9: return RateList::V9;
    default:
      if (IsChannelVariant(a.c.variant)) return e1 ? RateList::E1Channel : RateList::Channel;
      return e1 ? RateList::E1Low : RateList::Low;
  }
}

QStringList BitRates(const Ask& a) {
  switch (RateListOf(a)) {
    case RateList::Low: return L({"64", "128", "192", "256", "320"});
    case RateList::E1Low: return L({"256", "320"});
    case RateList::Channel: return L({"128", "256", "384", "512", "640"});
    case RateList::E1Channel: return L({"512", "640"});
    case RateList::V7: {
      const int field = a.r.InterfaceField();
      const bool slow = (field == 0 && a.r.Clock64()) || (field == 3 && !a.r.TwoTimeSlots());
      return slow ? L({"16", "32", "48"}) : L({"16", "32", "48", "64", "80"});
    }
    case RateList::V8: return L({"9.6", "14.4", "16.8", "19.2", "24.0"});
    case RateList::V8Level15: return L({"9.6", "14.4", "16.8", "19.2", "24.0", "5.6"});
    case RateList::V9: return L({"12.0", "24.0", "28.8", "33.6", "38.4", "50.4"});
  }
  return {};
}
QString BitRateHelp(const Ask& a) {
  switch (RateListOf(a)) {
    case RateList::Low: return QStringLiteral(" Select Line BitRate: 64; 128; 192; 256; 320 Kbit/s");
    case RateList::E1Low: return QStringLiteral(" Select Line BitRate: 256; 320 Kbit/s");
    case RateList::Channel: return QStringLiteral(" Select Line BitRate: 128; 256; 384; 512; 640 Kbit/s");
    case RateList::E1Channel: return QStringLiteral(" Select Line BitRate: 512; 640 Kbit/s");
    case RateList::V7: return QStringLiteral(" Select Line BitRate: 16; 32; 48; 64; 80 Kbit/s");
    case RateList::V8: return QStringLiteral(" Select Line BitRate: 9.6; 14.4; 16.8; 19.2; 24.0 Kbit/s");
    case RateList::V8Level15: return QStringLiteral(" Select Line BitRate: 9.6; 14.4; 16.8; 19.2; 24.0; 5.6 Kbit/s");
    case RateList::V9: return QStringLiteral(" Select Line BitRate: 12.0; 24.0; 28.8; 33.6; 38.4; 50.4 Kbit/s");
  }
  return {};
}

bool Clock128(const Ask& a) { return a.c.variant == 7 && a.c.level >= level::kPln3k; }

QStringList TransmitLevels(const Ask& a) {
  if (FamilyOf(a.c) == TransmitFamily::Level1) return Texts(kLevelOneTransmit);
  QStringList out;
  for (int halfDb : FamilyHalfDb(a.c)) out.append(HalfDbText(halfDb));
  return out;
}
QString TransmitHelp(const Ask& a) {
  switch (FamilyOf(a.c)) {
    case TransmitFamily::Level1:
      return QStringLiteral(" Select Transmit Level: -50; -49; -48; -47; -46; -45; -42; -27.5; -9.5; -3 dB");
    case TransmitFamily::A:
      return QStringLiteral(" Select Transmit Level: -50; -49.5; -49; -48.5; ...; -29; -28.5; -28; -27.5; -9.5; -3 dB");
    case TransmitFamily::B:
      return QStringLiteral(" Select Transmit Level: -46; -45.5; -45; -44.5; ...; -38.5; -38; -37.5; -37; -29 dB");
    case TransmitFamily::C:
      return QStringLiteral(" Select Transmit Level: -46; -45.5; ...; -37.5; -37; -27.5; -12; -11.5; ...; -6.5; -6 dB");
    case TransmitFamily::D:
      if (a.c.level < level::kPln3k)
        return QStringLiteral(" Select Transmit Level: -56; -55.5; -55; -54.5; ...; -38; -37.5; -37; -27.5 dB");
      return QStringLiteral(" Select Transmit Level: -56; -55.5; -55; -54.5; ...; -7.5; -7; -6.5; -6 dB");
  }
  return {};
}

QStringList AspChoices(const Ask& a) {
  const bool avc = a.r.AvcPermitted();
  if (a.c.variant == 8) {
    QStringList out = L({"ASK 1", "AVS 1", "ET6n"});
    if (avc) out += L({"AVC", "AVC-8 High", "AVC-8 Low"});
    return out + L({"SPI 1st ch", "SPI 2nd ch", "SPI 1ch w/o sys", "SPI 2ch w/o sys"});
  }
  if (a.c.variant == 7 && a.c.level >= level::kPln3k)
    return avc ? L({"ASK 3", "AVS 3", "AVC", "WBC12"}) : L({"ASK 3", "AVS 3", "WBC12"});
  if (a.c.variant == 9) return L({"AVC"});
  return {};
}
QString AspHelp(const Ask& a) {
  const bool avc = a.r.AvcPermitted();
  switch (a.c.variant) {
    case 8:
      return avc ? QStringLiteral(" Select ASP Type: ASK 1; AVS 1; ET6n; AVC; AVC-8 High; AVC-8 High; SPI...")
                 : QStringLiteral(" Select ASP Type: ASK 1; AVS 1; ET6n; SPI... ");
    case 7:
      return avc ? QStringLiteral(" Select ASP Type: ASK 3; AVS 3; AVC; WBC12")
                 : QStringLiteral(" Select ASP Type: ASK 3; AVS 3; WBC12");
    case 9: return QStringLiteral(" Select ASP Type: AVC");
    default: return {};
  }
}

QStringList Transitions(const Ask& a) { return Texts(RepeatersForm(a.c) ? TextList(kRepeaters) : TextList(kTransitions)); }
QString TransitionsHelp(const Ask& a) {
  return RepeatersForm(a.c) ? QStringLiteral(" Select Repiters: None; 5; 10; 14")
                            : QStringLiteral(" Select Transitions: None; 1; 2; 3");
}

// The time-slot groups that fit the E1 mode and bit rate the list shows.
const TimeSlotRow* GroupRow(const Ask& a) {
  return FindTimeSlotRow(a.Shown("E1Mode") == QLatin1String("1") ? 1 : 2, a.Shown("MBitRate"));
}
TimeSlotForm SlotForm(const Ask& a) { return TimeSlotFormOf(a.c, a.Shown("E1TSNumber")); }

QStringList TimeSlotMaps(const Ask& a) {
  QStringList out;
  switch (SlotForm(a)) {
    case TimeSlotForm::Groups:
      if (const TimeSlotRow* row = GroupRow(a))
        for (int i = 0; i < row->count; ++i) out.append(Text(row->entries[static_cast<std::size_t>(i)]));
      break;
    case TimeSlotForm::OneSlot:
      for (int t = 0; t <= 30; ++t) out.append(OneSlotText(t));
      break;
    case TimeSlotForm::TwoSlots:
      for (int t = 1; t <= 29; t += 2) out.append(TwoSlotText(t));
      break;
    case TimeSlotForm::None: break;
  }
  return out;
}
QString TimeSlotHelp(const Ask& a) {
  switch (SlotForm(a)) {
    case TimeSlotForm::Groups: {
      const QStringList entries = TimeSlotMaps(a);
      return entries.isEmpty() ? QString() : QStringLiteral(" Select E1 TS Mapping: ") + entries.join(QStringLiteral("; "));
    }
    case TimeSlotForm::OneSlot: return QStringLiteral(" Select E1 TS Mapping: 1; 2; ... 30; 31");
    case TimeSlotForm::TwoSlots: return QStringLiteral(" Select E1 TS Mapping: 2, 3; 4, 5; ... 28, 29; 30, 31");
    case TimeSlotForm::None: break;
  }
  return {};
}

QString InterfaceHelp(const Ask& a) {
  const ModuleFlags& m = a.r.Modules();
  QString text = QStringLiteral(" Select Interface: P2 Sync; ");
  if (a.c.level < level::kSecondLayout) {
    if (m.qldEnx) text += QStringLiteral("Ethernet; ");
    return text + QStringLiteral("P2 Async");
  }
  if (m.qldEnx || m.qldEnx100) text += QStringLiteral("Ethernet; ");
  if (a.c.level < level::kPln3k && a.c.variant != 7) text += QStringLiteral("P2 Async");
  if (m.e1) text += a.r.InterfaceView() == view::kE1Ksi ? QStringLiteral("; E1 + KSI") : QStringLiteral("; E1");
  return text;
}

QString CeilingHelp(const Ask& a) {
  switch (a.c.variant) {
    case 7:
      return a.r.Manual() ? QStringLiteral(" Select Bit Rate Up To: 48; 64; 80 Kbit/s")
                          : QStringLiteral(" Bit Rate Up To: 48 Kbit/s");
    case 8: return QStringLiteral(" Select Bit Rate Up To: 16.8; 19.2; 24.0 Kbit/s");
    case 9: return QStringLiteral(" Select Bit Rate Up To: 33.6; 38.4; 50.4 Kbit/s");
    default: return {};
  }
}

using ListFn = QStringList (*)(const Ask&);
using HelpFn = QString (*)(const Ask&);

template <const char* Text>
QString Fixed(const Ask&) {
  return QLatin1String(Text);
}
constexpr char kHelpRateMode[] = " Select Rate Mode: Auto; Manual";
constexpr char kHelpMsDefault[] = " Select M/S Default: Master; Slave";
constexpr char kHelpConnection[] = " Select Connection: Long; Short";
constexpr char kHelpChannels[] = " Select Channels: 1-2-3; 2-3-4; 3-4-5; ...; 8-9-10; 9-10-11; 10-11-12";
constexpr char kHelpLlc[] = " Select LLC: Disabled; Enabled";
constexpr char kHelpCarrierShift[] = " Select CarrierShift: Standart; Extended";
constexpr char kHelpInterleaver[] = " Select Interleaver: Off; Low; Middle; High";
constexpr char kHelpClockMode[] = " Select Clock Mode: Internal (TxC); External (CLK); Receiver (RxC)";
constexpr char kHelpDuplex[] = " Select Duplex Mode: Enabled; Disabled";
constexpr char kHelpFilter[] = " Select Filter Mode: Enabled; Disabled";
constexpr char kHelpCompression[] = " Select Compression Mode: Enabled; Disabled";
constexpr char kHelpSpeed[] = " Select Speed: 100; 10 Mbit/s";
constexpr char kHelpAsyncRate[] = " Select P2Async BitRate: 57.6; 115.2; 230.4 Kbit/s";
constexpr char kHelpDataBits[] = " Select P2Async Data Bits: 8";
constexpr char kHelpStopBits[] = " Select P2Async Stop Bits: 1";
constexpr char kHelpParity[] = " Select P2Async Parity: None";
constexpr char kHelpFlowControl[] = " Select P2Async Flow Control: RTS/CTS";
constexpr char kHelpDcd[] = " Select P2Async DCD Management: Always active; Line";
constexpr char kHelpCts[] = " Select P2Async CTS Management: Always active; Line & RTS";
constexpr char kHelpDsr[] = " Select P2Async DSR Management: Always active; Follow DTR";
constexpr char kHelpDtr[] = " Select P2Async DTR Sensibility: Normal; Ignore";
constexpr char kHelpE1Mode[] = " Select E1 Mode: 1; 2";
constexpr char kHelpTsNumber[] = " Select E1 TS Number: 1; 2";
constexpr char kHelpCrc4[] = " Select E1 Crc4: Disabled; Enabled";
constexpr char kHelpJitter[] = " Select E1 Jitter Attenuator: Disabled; Receiver; Transmitter";
constexpr char kHelpJitterDepth[] = " Select E1 Jitter Attenuator Depth: 128; 32 bit";
constexpr char kHelpRcGain[] = " Select E1 RC Gain: -12 dB; -43 dB";
constexpr char kHelpAis[] = " Select E1 AIS: Disabled; Enabled";
constexpr char kHelpRai[] = " Select E1 RAI: Disabled; Enabled";
constexpr char kHelpSignalling[] = " Select E1 Signaling: CAS; CCS";
constexpr char kHelpTsSignalling[] = " Select E1 TS Signaling: 16; 19; 28; 31";

struct ChoiceSpec {
  Key key;
  ListFn list;  // nullptr: no list opens
  HelpFn help;
};

using K = Key;
constexpr std::array<ChoiceSpec, kKeyCount> kChoices{{
    {K::Interface, [](const Ask& a) { return InterfaceChoices(a.r, a.list); }, InterfaceHelp},
    {K::MBitRate, BitRates, BitRateHelp},
    {K::MRateMode, nullptr, Fixed<kHelpRateMode>},
    {K::MBitRateUpTo, [](const Ask& a) { return Texts(CeilingList(a.c.variant)); }, CeilingHelp},
    {K::MTransmitLevel, TransmitLevels, TransmitHelp},
    {K::MAspType, AspChoices, AspHelp},
    {K::MMSDefault, nullptr, Fixed<kHelpMsDefault>},
    {K::MTransitions, Transitions, TransitionsHelp},
    {K::MConnection, nullptr, Fixed<kHelpConnection>},
    {K::MChannels, [](const Ask&) { return Texts(kChannels); }, Fixed<kHelpChannels>},
    {K::LLC, nullptr, Fixed<kHelpLlc>},
    {K::CarrierShift, nullptr, Fixed<kHelpCarrierShift>},
    {K::Interleaver, [](const Ask&) { return Texts(kInterleaver); }, Fixed<kHelpInterleaver>},
    {K::MClockFreq,
     [](const Ask& a) { return Clock128(a) ? L({"As Bit Rate", "64", "128"}) : L({"As Bit Rate", "64"}); },
     [](const Ask& a) {
       return Clock128(a) ? QStringLiteral(" Select Clock Frequency: As Bit Rate; 64; 128 kHz")
                          : QStringLiteral(" Select Clock Frequency: As Bit Rate; 64 kHz");
     }},
    {K::SClockMode, [](const Ask&) { return Texts(kClockModes); }, Fixed<kHelpClockMode>},
    {K::EDuplex, nullptr, Fixed<kHelpDuplex>},
    {K::EFilter, nullptr, Fixed<kHelpFilter>},
    {K::ECompression, nullptr, Fixed<kHelpCompression>},
    {K::ESpeed, nullptr, Fixed<kHelpSpeed>},
    {K::ABitRate, [](const Ask&) { return Texts(kAsyncRates); }, Fixed<kHelpAsyncRate>},
    {K::ADataBits, nullptr, Fixed<kHelpDataBits>},
    {K::AStopBits, nullptr, Fixed<kHelpStopBits>},
    {K::AParity, nullptr, Fixed<kHelpParity>},
    {K::AFlowControl, nullptr, Fixed<kHelpFlowControl>},
    {K::DCDManagement, nullptr, Fixed<kHelpDcd>},
    {K::CTSManagement, nullptr, Fixed<kHelpCts>},
    {K::DSRManagement, nullptr, Fixed<kHelpDsr>},
    {K::DTRSensibility, nullptr, Fixed<kHelpDtr>},
    {K::E1Mode, nullptr, Fixed<kHelpE1Mode>},
    {K::E1TSMap, TimeSlotMaps, TimeSlotHelp},
    {K::E1TSSig,
     [](const Ask& a) { return a.Shown("E1Sig") == QLatin1String("CCS") ? Texts(kTimeSlotSignalling) : QStringList(); },
     Fixed<kHelpTsSignalling>},
    {K::E1TSNumber, nullptr, Fixed<kHelpTsNumber>},
    {K::E1Crc4, nullptr, Fixed<kHelpCrc4>},
    {K::E1JittAtt, [](const Ask&) { return Texts(kJitterChoices); }, Fixed<kHelpJitter>},
    {K::E1JittAttDepth, nullptr, Fixed<kHelpJitterDepth>},
    {K::E1RCGain, nullptr, Fixed<kHelpRcGain>},
    {K::E1AIS, nullptr, Fixed<kHelpAis>},
    {K::E1RAI, nullptr, Fixed<kHelpRai>},
    {K::E1Sig, nullptr, Fixed<kHelpSignalling>},
}};

constexpr bool ChoicesComplete() {
  for (std::size_t i = 0; i < kChoices.size(); ++i) {
    const ChoiceSpec& c = kChoices[i];
    const KeyKind kind = kKeySpecs[i].kind;
    const bool opens = kind == KeyKind::Choice || kind == KeyKind::Composed;
    if (Index(c.key) != i || c.help == nullptr || opens != (c.list != nullptr)) return false;
  }
  return true;
}
static_assert(ChoicesComplete(), "every key has its help text; every choice key, and only those, its list");

}  // namespace

QStringList ChoiceList(Key key, const ConfigRecord& record, const ParamList& list) {
  const ChoiceSpec& spec = kChoices[Index(key)];
  if (spec.list == nullptr) return {};
  return spec.list(Ask{record, list, record.Context()});
}

QString HelpText(Key key, const ConfigRecord& record, const ParamList& list) {
  return kChoices[Index(key)].help(Ask{record, list, record.Context()});
}

}  // namespace rkvt::setup
